#pragma once
#include <QDialog>
#include <QPixmap>

// The edition picture: one large picture that a click anywhere closes.
class frmLumora : public QDialog
{
    Q_OBJECT
public:
    explicit frmLumora(QWidget *parent = nullptr);
    QPixmap Picture() const { return m_picture; }
    void Form_Click();
    static void ShowModal();
    static frmLumora *Current();
protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
private:
    QPixmap m_picture;
};
