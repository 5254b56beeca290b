#include "widgets/answer_feedback_line.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QSizePolicy>

namespace {

// The line as screen readers see it: a notification whose name is its text. Orca, for
// one, reads a notification out when it appears; a plain label changing its text is
// only read when it has the focus, which this line never has.
class FeedbackLineAccessible : public QAccessibleWidget {
public:
    explicit FeedbackLineAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* feedbackLineFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("AnswerFeedbackLine") && object && object->isWidgetType())
        return new FeedbackLineAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

AnswerFeedbackLine::AnswerFeedbackLine(QWidget* parent) : QLabel(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(feedbackLineFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setObjectName(QStringLiteral("answerFeedbackLine"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    // Tall enough for one line from the start, so that the window does not jump.
    setMinimumHeight(fontMetrics().height());
    hide();
}

QString AnswerFeedbackLine::messageFor(ToleratedDifference tolerated, const QString& storedAnswer) {
    switch (tolerated) {
        case ToleratedDifference::None:
            break;
        case ToleratedDifference::Case:
            return tr("Right, but mind the capital letters: %1").arg(storedAnswer);
        case ToleratedDifference::Accents:
            return tr("Right, but mind the accents: %1").arg(storedAnswer);
        case ToleratedDifference::CaseAndAccents:
            return tr("Right, but mind the capital letters and accents: %1").arg(storedAnswer);
    }
    return tr("Right.");
}

void AnswerFeedbackLine::showTolerated(ToleratedDifference tolerated, const QString& storedAnswer) {
    announce(messageFor(tolerated, storedAnswer));
}

void AnswerFeedbackLine::showMessage(const QString& message) {
    announce(message);
}

void AnswerFeedbackLine::clear() {
    QLabel::clear();
    hide();
}

void AnswerFeedbackLine::announce(const QString& message) {
    // Hidden and shown again, so that a second "Right." in a row is a new appearance
    // and is read out again; the name change is for readers that follow names.
    hide();
    setText(message);
    show();
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}
