// The user's settings: application "Tavrin Writer v4", section "Settings6", every value text.
#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>

namespace tavrin {

inline constexpr const char* kSettingsApplication = "Tavrin Writer v4";
inline constexpr const char* kSettingsSection = "Settings6";

// A stored flag as the settings have always held them: "True", "-1" or "1" (any case); anything
// else, an empty text included, is false.
bool settingIsTrue(const QString& value);

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString& key, const QString& defaultValue = QString()) const = 0;
    virtual void setValue(const QString& key, const QString& value) = 0;
    virtual bool contains(const QString& key) const = 0;
    // Puts the values on disk; false when they could not be (the old file is then kept).
    virtual bool sync() { return true; }

    // Called when a change could not be put on disk as it was made, so that the person hears of
    // it then; an explicit sync() answers for itself.
    void setSaveFailedHandler(std::function<void()> handler) { saveFailed_ = std::move(handler); }

  protected:
    void saveFailed() const {
        if (saveFailed_) saveFailed_();
    }

  private:
    std::function<void()> saveFailed_;
};

// An INI file read and written through QSettings (per-user, organisation and application as
// named above). QSettings itself never writes the file: on a full disk it replaces it with an
// empty one and reports success. The values are written beside it, read back, and only a
// complete copy replaces the old file.
class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore();
    // For tests and portable installs: an INI file at the given path.
    explicit QtSettingsStore(const QString& iniPath);
    ~QtSettingsStore() override;
    QString value(const QString& key, const QString& defaultValue) const override;
    void setValue(const QString& key, const QString& value) override;
    bool contains(const QString& key) const override;
    bool sync() override;
    const QString& fileName() const { return path_; }

  private:
    QString path_;
    std::map<QString, QVariant> values_; // every key of the file, other sections included
    bool dirty_ = false;
};

class MemorySettingsStore final : public SettingsStore {
  public:
    QString value(const QString& key, const QString& defaultValue) const override {
        auto it = values_.find(key);
        return it == values_.end() ? defaultValue : it->second;
    }
    void setValue(const QString& key, const QString& value) override { values_[key] = value; }
    bool contains(const QString& key) const override { return values_.count(key) != 0; }
    const std::map<QString, QString>& all() const { return values_; }

  private:
    std::map<QString, QString> values_;
};

} // namespace tavrin
