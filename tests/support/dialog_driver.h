#pragma once

#include <QString>
#include <Qt>
#include <functional>

#include "scripted_prompts.h"

class QDialog;
class QWidget;

// Driving windows by keyboard in tests, the way a user would.

// Presses a key on the widget that has the keyboard focus in `window` (the window itself
// when none has), so that the event travels as a real key press would.
void pressKey(QWidget* window, Qt::Key key);
// Types the text into the widget, key by key.
void typeText(QWidget* field, const QString& text);
// Types as an input method does for Chinese or Japanese: `composing` shown while it is
// being put together, then `committed` put into the text.
void typeThroughInputMethod(QWidget* field, const QString& composing, const QString& committed);
// Runs the deletions that windows closed with deleteLater are waiting for.
void flushDeletes();

// Dialog handlers for ScriptedPrompts: end the dialog with a key, a button or its close
// box, and give back the result the dialog ended with (Rejected when it stayed open).
ScriptedPrompts::DialogHandler pressKeyIn(Qt::Key key);
ScriptedPrompts::DialogHandler clickIn(const QString& buttonName);
ScriptedPrompts::DialogHandler closeBoxOf();
// Runs `inspect` on the dialog first, then `finish`.
ScriptedPrompts::DialogHandler inspectThen(std::function<void(QDialog*)> inspect,
                                           ScriptedPrompts::DialogHandler finish);
// Handlers by a short name, for _data tables: "key:Return", "key:Escape",
// "click:<button object name>", "close".
ScriptedPrompts::DialogHandler handlerNamed(const QString& name);

// Every control of the window a user can reach (line edits and buttons) whose accessible
// name is empty, by object name.
QStringList controlsWithoutAccessibleName(QWidget* window);
