#include "platform/dialog_data.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRegularExpression>

#include "platform/prompts.h"

namespace {

void refuse(QLineEdit* field, const QString& message) {
    prompts().message(field->window(), PromptIcon::Exclamation, QStringLiteral("Kartomatrix"),
                      message);
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

}  // namespace

QString enterIntegerMessage() {
    return QCoreApplication::translate("DialogData", "Please enter an integer.");
}

QString enterIntegerBetweenMessage(int low, int high) {
    return QCoreApplication::translate("DialogData", "Please enter an integer between %1 and %2.")
        .arg(low)
        .arg(high);
}

std::optional<int> parseDialogInteger(const QString& text) {
    static const QRegularExpression integer(QStringLiteral("^[ \\t]*([+-]?[0-9]+)[ \\t]*$"));
    const QRegularExpressionMatch match = integer.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int value = match.captured(1).toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> readIntegerField(QLineEdit* field, int low, int high) {
    const std::optional<int> value = parseDialogInteger(field->text());
    if (!value) {
        refuse(field, enterIntegerMessage());
        return std::nullopt;
    }
    if (*value < low || *value > high) {
        refuse(field, enterIntegerBetweenMessage(low, high));
        return std::nullopt;
    }
    return value;
}
