#pragma once
#include <QDialog>
class MMControl;
class QCheckBox;
class QLabel;
class QPushButton;

// The splash screen, shown modally at start when asked for, with its sound on the wave
// control it is given. Its box says whether it shows again at the next start; the choice is
// saved however the screen is closed.
class frmSplash : public QDialog
{
    Q_OBJECT
public:
    explicit frmSplash(MMControl &wave, QWidget *parent = nullptr);
    QLabel *Image1 = nullptr;  // the picture
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr;
    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    static void ShowModal(MMControl &wave);
    // The one splash screen while it is open (tests close it through this).
    static frmSplash *Current();
protected:
    void done(int r) override;
private:
    MMControl &m_wave;
    bool m_unloaded = false;
};
