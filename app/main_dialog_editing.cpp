// The main window's side of the card-editing windows: the modify dialog and the overview.
#include "app/main_dialog.h"
#include "editing/modify_card_dialog.h"
#include "editing/overview_dialog.h"

void MainDialog::openModifyDialog() {
    ModifyCardDialog::open(*this);
}

void MainDialog::openOverview() {
    OverviewDialog::open(*this);
}
