// What the about box shows. Start-up fills it once ("V6.5.68" and the support line); a showing
// after the box was closed is a fresh load with the window's own texts ("ﾊﾞｰｼﾞｮﾝ 6.5.68" and the
// comments). The ID word line is written by start-up and the HEX loader at any time.
#pragma once

#include "core/about_texts.h"

#include <optional>

namespace tavrin {

class AboutBoxModel {
  public:
    explicit AboutBoxModel(ProgramVersion version) : version_(std::move(version)) {}

    // FillAboutBox: the texts of the box loaded by start-up.
    void fill(const AboutBoxTexts& texts) { loaded_ = texts; }
    // The texts of the box being shown; loads it when it is not.
    AboutBoxTexts texts();
    // The box was closed: the next showing loads it afresh.
    void closed() { loaded_.reset(); }

    const QString& idWordLine() const { return idWordLine_; }
    void setIdWordLine(const QString& line) { idWordLine_ = line; }

    const ProgramVersion& version() const { return version_; }

  private:
    ProgramVersion version_;
    std::optional<AboutBoxTexts> loaded_;
    QString idWordLine_;
};

} // namespace tavrin
