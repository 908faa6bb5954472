// The HEX file a run is to produce, when the tool names its output after the source: for the
// PROG.HEX the person knows and the source PROG.ASM, an assembler writes PROG.hex. Where file
// names tell case apart, that file is the run's result all the same.
#pragma once

#include <QDateTime>
#include <QString>

#include <map>

namespace tavrin {

class HexOutputName {
  public:
    // Notes the files whose names differ from hexPath only in case, before the run.
    explicit HexOutputName(QString hexPath);

    // After the run, when hexPath is not there: a file of such a name that the run wrote or
    // rewrote takes the name hexPath. One that was there untouched is no result of this run.
    // True when hexPath names a file afterwards.
    bool adoptToolOutput() const;

  private:
    struct Stamp {
        QDateTime modified;
        qint64 size;
        bool operator==(const Stamp&) const = default;
    };
    std::map<QString, Stamp> variants() const;

    QString hexPath_;
    std::map<QString, Stamp> before_;
};

} // namespace tavrin
