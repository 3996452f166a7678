// Frame actions whose windows are built in later steps.
#include "frame/frmOrvelMain.h"

