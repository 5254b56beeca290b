#pragma once

#include <QMap>
#include <QString>
#include <initializer_list>

#include "session/command_board.h"

// The enabled state of every menu command and command button of the main window, keyed
// "openListAction" / "systematicButton", so that a test can check all of them after each step.
using ControlStates = QMap<QString, bool>;

ControlStates controlStates(const CommandBoard& board);
// The states of a freshly started main window.
ControlStates startStates();
// `base` with the commands and buttons switched on or off.
ControlStates withChanges(ControlStates base, std::initializer_list<Command> on,
                          std::initializer_list<Command> off,
                          std::initializer_list<MainButton> buttonsOn = {},
                          std::initializer_list<MainButton> buttonsOff = {});
// A readable list of the differences, empty when equal.
QString describeDifferences(const ControlStates& actual, const ControlStates& expected);

// Every command of the main window's menus, in menu order.
const std::initializer_list<Command>& allCommands();
// The seven command buttons.
const std::initializer_list<MainButton>& commandButtons();
