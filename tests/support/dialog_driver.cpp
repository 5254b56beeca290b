#include "dialog_driver.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCoreApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextBoundaryFinder>

void pressKey(QWidget* window, Qt::Key key) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key);
}

void typeText(QWidget* field, const QString& text) {
    // One key event per character as a reader counts them, carrying all of its UTF-16
    // units, as a keyboard layout delivers a letter outside the first 65,536.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        const QString character = text.mid(start, finder.position() - start);
        start = finder.position();
        if (character.size() == 1 && character[0].unicode() < 0x80) {
            QTest::keyClicks(field, character);
        } else {
            QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, character, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, character, Qt::NoModifier);
        }
    }
}

void typeThroughInputMethod(QWidget* field, const QString& composing, const QString& committed) {
    QInputMethodEvent preedit(composing, {});
    QCoreApplication::sendEvent(field, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(committed);
    QCoreApplication::sendEvent(field, &commit);
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

int resultOf(QDialog* dialog) {
    return dialog->isVisible() ? int(QDialog::Rejected) : dialog->result();
}

}  // namespace

ScriptedPrompts::DialogHandler pressKeyIn(Qt::Key key) {
    return [key](QDialog* dialog) {
        dialog->setResult(QDialog::Rejected);
        pressKey(dialog, key);
        return resultOf(dialog);
    };
}

ScriptedPrompts::DialogHandler clickIn(const QString& buttonName) {
    return
        [buttonName](QDialog* dialog) { return ScriptedPrompts::clickButton(dialog, buttonName); };
}

ScriptedPrompts::DialogHandler closeBoxOf() {
    return [](QDialog* dialog) {
        dialog->setResult(QDialog::Accepted);
        dialog->close();
        return resultOf(dialog);
    };
}

ScriptedPrompts::DialogHandler inspectThen(std::function<void(QDialog*)> inspect,
                                           ScriptedPrompts::DialogHandler finish) {
    return [inspect, finish](QDialog* dialog) {
        inspect(dialog);
        return finish(dialog);
    };
}

ScriptedPrompts::DialogHandler handlerNamed(const QString& name) {
    if (name == QLatin1String("key:Return"))
        return pressKeyIn(Qt::Key_Return);
    if (name == QLatin1String("key:Enter"))
        return pressKeyIn(Qt::Key_Enter);
    if (name == QLatin1String("key:Escape"))
        return pressKeyIn(Qt::Key_Escape);
    if (name == QLatin1String("close"))
        return closeBoxOf();
    if (name.startsWith(QLatin1String("click:")))
        return clickIn(name.mid(6));
    qFatal("unknown dialog handler %s", qPrintable(name));
    return {};
}

QStringList controlsWithoutAccessibleName(QWidget* window) {
    QStringList missing;
    QList<QWidget*> controls;
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        controls << edit;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        controls << button;
    for (QWidget* control : controls) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty()) {
            missing << (control->objectName().isEmpty() ? control->metaObject()->className()
                                                        : control->objectName());
        }
    }
    return missing;
}
