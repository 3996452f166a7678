#pragma once
#include "dialogs/FileChooser.h"

// The picture chooser: picks the dashboard's background picture and stores its full path
// in backpic.msg. ShowModal() loads a fresh one and runs it modally; tests may build one,
// run Form_Load and call the handlers, or drive the open one through Current().
class frmDashboard : public FileChooser
{
    Q_OBJECT
public:
    explicit frmDashboard(QWidget *parent = nullptr);
    static void ShowModal() { runModal<frmDashboard>(); }
    static frmDashboard *Current() { return openOne<frmDashboard>().data(); }

    void Form_Load();
    void Command2_Click() override;
};
