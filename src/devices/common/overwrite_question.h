// The question asked before a part that already holds code is programmed, as every program run
// asks it. The window asks it with frmHint; without a window it is a plain message box.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace tavrin {

class OperatorUi;
struct ModuleContext;

// The values frmHint leaves in HintAnswer.
namespace hint {
constexpr std::int16_t Overwrite = 1;
constexpr std::int16_t Cancel = 2;
constexpr std::int16_t DocumentShown = 3; // the document button was the last one pressed
} // namespace hint

// Shows the two lines modally and returns the answer (hint::...).
using OverwriteQuestion = std::function<std::int16_t(const QString& line1, const QString& line2)>;

inline const QString kWrittenLine = QStringLiteral("書込み済みです。");
inline const QString kWrittenProtectedLine =
    QStringLiteral("書込み済みです。(コードプロテクトされています｡)");
inline const QString kOverwriteLine = QStringLiteral("上書きしますか？");
inline const QString kOverwriteCancelled = QStringLiteral("上書き操作をキャンセルしました。");

// The first line for the blank check's code-protect flag ("CP" or "--").
QString writtenLineFor(const QString& cpFlag);

// Only an explicit "はい" overwrites: a window closed after its document button left 3, and
// that is no consent.
inline bool consentsToOverwrite(std::int16_t answer) {
    return answer == hint::Overwrite;
}

// Asks with `firstLine` (no window to ask: cancelled), lets the events run, keeps the answer in
// RunState::HintAnswer and returns whether the chip is overwritten. Otherwise the status line
// says the overwrite was cancelled, after the run's status head; a board that went away while
// the question was open keeps its loss as the last word.
bool overwriteAgreed(ModuleContext& ctx, const QString& firstLine, const QString& head = QString());

// The question as a message box: Yes or OK overwrites, anything else cancels.
OverwriteQuestion overwriteQuestionByMessageBox(OperatorUi& ui);

} // namespace tavrin
