#include "settings/FrameSettings.h"

namespace settings {

void FrameSettings::Load()
{
    txtDash.Load(QStringLiteral("dash.msg"));
    txtWindowListOnTop.Load(QStringLiteral("ontop.msg"));
    txtInData.Load(QStringLiteral("indata.msg"));
    txtAutoArrange.Load(QStringLiteral("auto.msg"));
    txtCDExit.Load(QStringLiteral("cdexit.msg"));
    RichTextBox1.Load(QStringLiteral("discon.msg"));
    txtSplash.Load(QStringLiteral("splash.msg"));
    txtAwayMsg.Load(QStringLiteral("away.msg"));
    txtBackMsg.Load(QStringLiteral("back.msg"));
    txtPcdos.Load(QStringLiteral("pcdos.msg"));
    txtCos.Load(QStringLiteral("cos.msg"));
    txtFontName.Load(QStringLiteral("fontname.msg"));
    txtFontSize.Load(QStringLiteral("fontsize.msg"));
    txtBackPic.Load(QStringLiteral("backpic.msg"));
}

} // namespace settings
