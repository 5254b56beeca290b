// The main window's side of the lesson chooser, the statistics window and printing.
#include "app/main_dialog.h"
#include "editing/lesson_chooser.h"
#include "editing/print_job.h"
#include "exam/statistics_dialog.h"

void MainDialog::openLessonChooser() {
    LessonChooser::open(*this);
}

void MainDialog::openStatistics() {
    StatisticsDialog::open(*this);
}

void MainDialog::printList() {
    printCardList(this, store_);
}
