// Frame actions whose windows are built in later steps.
#include "frame/frmOrvelMain.h"

void frmOrvelMain::mnuSetupWizard_Click() { emit setupWizardRequested(); }
void frmOrvelMain::OpenSoundChooser() {}  // the sound chooser (frmSoundOptions) is built with the choosers
