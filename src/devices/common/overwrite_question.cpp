#include "overwrite_question.h"

#include "core/operator_ui.h"
#include "core/session.h"

namespace tavrin {

QString writtenLineFor(const QString& cpFlag) {
    return cpFlag == result::CP ? kWrittenProtectedLine : kWrittenLine;
}

OverwriteQuestion overwriteQuestionByMessageBox(OperatorUi& ui) {
    return [&ui](const QString& line1, const QString& line2) -> std::int16_t {
        const MessageAnswer answer =
            ui.messageBox(MessageIcon::Question, MessageButtons::OkCancel,
                          QStringLiteral("Tavrin Writer"), line1 + QStringLiteral("\r\n") + line2);
        const bool yes = answer == MessageAnswer::Ok || answer == MessageAnswer::Yes;
        return yes ? hint::Overwrite : hint::Cancel;
    };
}

} // namespace tavrin
