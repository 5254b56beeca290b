// The main window's side of the lesson chooser, the statistics window and printing.
#include "app/main_dialog.h"

void MainDialog::openLessonChooser() {}

void MainDialog::openStatistics() {}

void MainDialog::printList() {}
