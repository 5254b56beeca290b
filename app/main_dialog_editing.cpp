// The main window's side of the card-editing windows: the modify dialog and the overview.
#include "app/main_dialog.h"

void MainDialog::openModifyDialog() {}

void MainDialog::openOverview() {}
