#pragma once
#include <QDialog>
#include <QPixmap>
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The capture viewer: shows the picture taken from the clipboard, stretched to its
// frame or at its own size.
class frmCapture : public QDialog
{
    Q_OBJECT
public:
    explicit frmCapture(QWidget *parent = nullptr);
    QGroupBox *Frame1 = nullptr;
    QLabel *Image1 = nullptr;
    QCheckBox *Check1 = nullptr;  // Stretch
    QPushButton *Command1 = nullptr;
    void Form_Load();
    void SetPicture(const QPixmap &picture);
    void Check1_Click();
    void Command1_Click();
    // Loads the viewer, puts the picture into it and shows it modally.
    static void ShowModal(const QPixmap &picture);
    static frmCapture *Current();
    // The picture area in twips.
    static constexpr int AreaWidth = 8775, AreaHeight = 4455;
};
