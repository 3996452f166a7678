#pragma once
#include <QDialog>

// The splash screen, shown modally at start when asked for.
class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);
    static void ShowModal();
};
