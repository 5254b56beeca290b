#include "platform/card_text_validator.h"

#include <QLineEdit>

#include "core/message_ids.h"
#include "platform/prompts.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"

namespace {

constexpr int kRefusalHertz = 400;
constexpr int kRefusalMilliseconds = 100;

}  // namespace

CardTextValidator::CardTextValidator(QObject* parent) : QValidator(parent) {}

QValidator::State CardTextValidator::validate(QString& input, int&) const {
    if (unrepresentableCharacters(input).isEmpty())
        return Acceptable;
    prompts().beep(kRefusalHertz, kRefusalMilliseconds);
    return Invalid;
}

QString unstorableTextMessage(const QString& characters) {
    QStringList quoted;
    QStringView rest(characters);
    while (!rest.isEmpty()) {
        const qsizetype length = rest.front().isHighSurrogate() && rest.size() > 1 ? 2 : 1;
        quoted.append(QStringLiteral("\"%1\"").arg(rest.left(length)));
        rest = rest.mid(length);
    }
    return QStringLiteral("The text contains characters that cannot be stored in a list file: %1.")
        .arg(quoted.join(QStringLiteral(", ")));
}

bool readCardText(const QLineEdit* field, std::string& out, QWidget* owner) {
    const QString text = field->text();
    if (auto bytes = toCardText(text)) {
        out = std::move(*bytes);
        return true;
    }
    prompts().message(owner, PromptIcon::Error, stringText(Msg::ErrorCaption),
                      unstorableTextMessage(unrepresentableCharacters(text)));
    return false;
}
