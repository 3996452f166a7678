#pragma once
#include <QLineEdit>
#include <functional>

// A one-line command box whose key handler sees each typed character code first and
// may swallow it by setting the code to 0 (13 = Enter, 27 = Esc).
class CommandLine : public QLineEdit
{
    Q_OBJECT
public:
    explicit CommandLine(QWidget *parent = nullptr);
    std::function<void(int &)> KeyPress;
protected:
    void keyPressEvent(QKeyEvent *e) override;
};
