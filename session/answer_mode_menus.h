#pragma once

class QMenu;
struct Preferences;

// Adds "Direction" and "Answer Form" to the Examination menu: a submenu each of checkable
// items, one of which is checked, kept in `preferences` (which must outlive the menu).
// Every examination asks its next card in what is checked then.
void addAnswerModeMenus(QMenu* examinationMenu, Preferences& preferences);
