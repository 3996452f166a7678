#pragma once
#include "dialogs/FileChooser.h"

// The sound chooser: picks a wave file from any folder and plays it once, through the
// player it is given; it stores nothing.
// ShowModal() loads a fresh one and runs it modally; tests may build one, run Form_Load
// and call the handlers, or drive the open one through Current().
class frmSoundOptions : public FileChooser
{
    Q_OBJECT
public:
    explicit frmSoundOptions(QWidget *parent = nullptr);
    using Player = std::function<void(const QString &file)>;
    static void ShowModal(const Player &play)
    {
        runModal<frmSoundOptions>([&play](frmSoundOptions &d) { d.Play = play; });
    }
    static frmSoundOptions *Current() { return openOne<frmSoundOptions>().data(); }

    void Form_Load();
    void Command2_Click() override;
    void Command1_Click() override;
    void Combo1_Change() override;
    // One pass of keeping the lists in step (load and pattern changes).
    void SyncLists();
    // Plays the chosen file (the whole path).
    Player Play;

private:
    void focusActiveChild();
};
