#include "dialogs/frmSetup.h"
#include "connection/FrameHost.h"
#include "connection/frmOrvelIRC.h"
#include "core/Session.h"
#include "dialogs/frmHelp.h"
#include "platform/Forms.h"
#include "platform/Palette.h"
#include "platform/Platform.h"
#include "platform/TcpSocket.h"
#include "settings/ConnectionSettings.h"
#include "settings/Defaults.h"
#include "settings/SettingsFile.h"
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<frmSetup> g_current;

// Networks whose servers come from a server-list file in the working folder.
const std::pair<const char *, const char *> ListFiles[] = {
    {"AfterNet", "afternet.msg"}, {"BrazIRCNet", "brazircnet.msg"}, {"CobraNet", "cobranet.msg"},
    {"DarkZone", "darkzone.msg"}, {"Eunet", "eunet.msg"},           {"FEFnet", "fefnet.msg"}};

// The built-in networks in the order a chosen name is compared with them.
const char *const BuiltInOrder[] = {"Oznet", "StarLink", "Misc",    "IRCNet",  "GalaxyNet",
                                    "EFnet", "Newnet",   "Undernet", "Chatnet", "DALnet"};

const char *const NetworkNames[] = {"AfterNet", "BrazIRCNet", "Chatnet",   "CobraNet", "DALnet", "DarkZone",
                                    "EFnet",    "Eunet",      "FEFnet",    "GalaxyNet", "IRCNet", "Misc",
                                    "Newnet",   "Oznet",      "StarLink",  "Undernet"};

// The networks whose servers are built in: each host is the pattern filled with one of the
// names, in the order given.
struct HostGroup
{
    const char *network, *pattern, *names;
};
const HostGroup HostGroups[] = {
    {"Chatnet", "%1.chatnet.example.net", "aurora boreal cascade delta ember fjord glacier harbor island"},
    {"DALnet", "%1.dalnet.example.net",
     "amber birch cedar dune elm fern grove heath iris juniper kelp larch maple nettle oak pine quartz reed "
     "sage thistle umber violet willow yarrow zinnia alder bramble clover"},
    {"EFnet", "irc.%1.efnet.example.org",
     "alpha bravo charlie delta echo foxtrot golf hotel india juliet kilo lima mike november oscar papa quebec "
     "romeo sierra tango uniform victor whiskey xray yankee zulu north south east west central coast valley "
     "summit plains lakes ridge canyon meadow"},
    {"GalaxyNet", "%1.galaxynet.example.com",
     "andromeda bootes carina draco eridanus fornax gemini hydra "
     "indus lyra mensa norma orion pavo sculptor vela"},
    {"IRCNet", "%1.ircnet.example.net",
     "irc1 irc2 irc3 irc4 irc5 irc6 irc7 irc8 irc9 irc10 irc11 irc12 irc13 irc14 irc15"},
    {"Misc", "%1.misc.example.org", "chat talk lounge cafe plaza forum den"},
    {"Newnet", "%1.newnet.example.com", "atlas beacon compass dynamo engine falcon gadget helix ion jet kite"},
    {"Oznet", "%1.oznet.example.net", "bush reef outback billabong wattle"},
    {"StarLink", "%1.starlink.example.org", "sirius vega rigel altair"},
    {"Undernet", "%1.undernet.example.com",
     "ant bee cricket dragonfly earwig firefly gnat hornet inchworm junebug katydid ladybird mantis nymph "
     "owlfly pillbug roach silverfish termite wasp"},
    // Kept with the table although the network list does not offer them.
    {"Primegate", "%1.primegate.example.net", "gate1 gate2 gate3 gate4"},
    {"Icenet", "%1.icenet.example.org", "frost hail sleet snow floe"},
};

void setTextColour(QWidget *w, int colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Text, PaletteColour(colour));
    w->setPalette(pal);
}
} // namespace

const std::vector<std::pair<QString, QStringList>> &frmSetup::BuiltInHosts()
{
    static const std::vector<std::pair<QString, QStringList>> table = [] {
        std::vector<std::pair<QString, QStringList>> groups;
        for (const HostGroup &g : HostGroups) {
            QStringList hosts;
            for (const QString &name : QString::fromLatin1(g.names).split(u' '))
                hosts << QString::fromLatin1(g.pattern).arg(name);
            groups.emplace_back(QLatin1String(g.network), hosts);
        }
        return groups;
    }();
    return table;
}

frmSetup::frmSetup(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(AppTitle);
    auto *outer = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    outer->addLayout(top);

    auto field = [this](QGridLayout *grid, int row, const QString &label, QWidget *parentBox) {
        auto *edit = new QLineEdit(parentBox);
        if (!label.isEmpty()) {
            auto *l = new QLabel(label, parentBox);
            l->setTextFormat(Qt::PlainText);
            grid->addWidget(l, row, 0);
        }
        grid->addWidget(edit, row, 1);
        edit->setMouseTracking(true);
        edit->installEventFilter(this);
        return edit;
    };

    Frame1 = new QGroupBox(this);
    auto *g1 = new QGridLayout(Frame1);
    txtNick = field(g1, 0, QStringLiteral("Nickname:"), Frame1);
    txtAlternativeNickname = field(g1, 1, QStringLiteral("Alternative Nick:"), Frame1);
    txtRN = field(g1, 2, QStringLiteral("Real Name:"), Frame1);
    txtEmail = field(g1, 3, QStringLiteral("Email Address:"), Frame1);
    txtPort = field(g1, 4, QStringLiteral("Port:"), Frame1);
    Frame1->setMouseTracking(true);
    Frame1->installEventFilter(this);
    top->addWidget(Frame1, 1);

    auto *local = new QWidget(this);
    auto *g2 = new QGridLayout(local);
    txtLocalHost = field(g2, 0, QStringLiteral("Local Host Name:"), local);
    txtLocalIp = field(g2, 1, QStringLiteral("Local IP Address:"), local);
    g2->setRowStretch(2, 1);
    top->addWidget(local, 1);

    auto *lists = new QHBoxLayout;
    outer->addLayout(lists, 1);
    auto list = [this](QListWidget *&w) {
        w = new QListWidget(this);
        w->setSelectionMode(QAbstractItemView::SingleSelection);
        w->viewport()->setMouseTracking(true);
        w->viewport()->installEventFilter(this);
        w->installEventFilter(this);
        return w;
    };
    lists->addWidget(list(Networks));
    lists->addWidget(list(Servers));
    for (const char *name : NetworkNames) Networks->addItem(QLatin1String(name));

    auto *serverRow = new QWidget(this);
    auto *g3 = new QGridLayout(serverRow);
    g3->setContentsMargins(0, 0, 0, 0);
    txtServer = field(g3, 0, QString(), serverRow);
    outer->addWidget(serverRow);

    auto *buttons = new QHBoxLayout;
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    Command1 = new QPushButton(QStringLiteral("Defaults"), this);
    Command2 = new QPushButton(QStringLiteral("Help"), this);
    for (QPushButton *b : {cmdOK, cmdCancel, Command1, Command2}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    outer->addLayout(buttons);
    setMouseTracking(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmSetup::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSetup::cmdCancel_Click);
    connect(Command1, &QPushButton::clicked, this, &frmSetup::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSetup::Command2_Click);
    // A choice made with the keys runs at once; one made with the mouse when the button
    // comes up, so that clicking the chosen entry again runs it again. Only a selection is
    // a choice: tabbing into a list marks its first entry without selecting it.
    connect(Networks, &QListWidget::itemSelectionChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton) Networks_Click();
    });
    connect(Networks, &QListWidget::itemClicked, this, &frmSetup::Networks_Click);
    connect(Servers, &QListWidget::itemSelectionChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton) Servers_Click();
    });
    connect(Servers, &QListWidget::itemClicked, this, &frmSetup::Servers_Click);
    connect(Servers, &QListWidget::itemDoubleClicked, this, &frmSetup::Servers_DblClick);
    resize(560, 460);
}

frmSetup *frmSetup::Current() { return g_current.data(); }

void frmSetup::ShowModal()
{
    frmSetup d(mainWindow());
    g_current = &d;
    d.Form_Load();
    d.exec();
}

void frmSetup::Form_Load()
{
    using Item = settings::ConnectionSettings::Item;
    const auto file = &settings::ConnectionSettings::FileName;
    setWindowTitle(AppTitle);
    RichTextBox1.Load(file(Item::Port));
    RichTextBox2.Load(file(Item::RealName));
    RichTextBox3.Load(file(Item::Nick));
    RichTextBox4.Load(file(Item::Email));
    RichTextBox5.Load(file(Item::Server));
    RichTextBox6.Load(file(Item::AlternativeNick));
    txtAlternativeNickname->setText(RichTextBox6.Text);
    TcpSocket *socket = &form<frmOrvelIRC>().Tcp1();
    txtLocalHost->setText(socket->LocalHostName());
    txtLocalIp->setText(socket->LocalIP());
    txtPort->setText(RichTextBox1.Text);
    txtRN->setText(RichTextBox2.Text);
    txtNick->setText(RichTextBox3.Text);
    txtEmail->setText(RichTextBox4.Text);
    txtServer->setText(RichTextBox5.Text);
}

void frmSetup::cmdOK_Click()
{
    using Item = settings::ConnectionSettings::Item;
    const auto write = &settings::ConnectionSettings::WriteFile;
    // Values go out as typed; a file that cannot be written keeps its old value, which the
    // settings then take back below.
    write(Item::AlternativeNick, txtAlternativeNickname->text());
    write(Item::Port, txtPort->text());
    write(Item::RealName, txtRN->text());
    write(Item::Nick, txtNick->text());
    write(Item::Email, txtEmail->text());
    write(Item::Server, txtServer->text());

    frmOrvelIRC &s = form<frmOrvelIRC>();
    core::Session &ss = session();
    settings::ConnectionSettings &cs = ss.Settings();
    cs.Set(Item::AlternativeNick, txtAlternativeNickname->text());
    cs.Set(Item::Port, txtPort->text());
    cs.Set(Item::RealName, txtRN->text());
    cs.Set(Item::Nick, txtNick->text());
    cs.Set(Item::Email, txtEmail->text());
    s.txtLocalH.Text = txtLocalHost->text();
    s.txtIpAddress.Text = txtLocalIp->text();

    for (Item item : {Item::Port, Item::RealName, Item::Nick, Item::Email, Item::Server}) cs.Load(item);

    ss.TakeSettings();
    closeDialog();
}

void frmSetup::cmdCancel_Click() { closeDialog(); }

void frmSetup::Command1_Click()
{
    txtPort->setText(QStringLiteral("6667"));
    txtRN->setText(QStringLiteral("Your Real Name"));
    txtNick->setText(QStringLiteral("YourNick"));
    txtAlternativeNickname->setText(QStringLiteral("YourAlt"));
    txtEmail->setText(settings::DefaultEmail);
    txtServer->setText(settings::DefaultHost);
    TcpSocket *socket = &form<frmOrvelIRC>().Tcp1();
    txtLocalHost->setText(socket->LocalHostName());
    txtLocalIp->setText(socket->LocalIP());
}

void frmSetup::Command2_Click()
{
    closeDialog();
    frmHelp::Open().LoadText(QStringLiteral("readme.txt"));
}

namespace {
QListWidgetItem *selectedIn(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}
} // namespace

void frmSetup::Networks_Click()
{
    const QListWidgetItem *chosen = selectedIn(Networks);
    if (!chosen) return;
    const QString name = chosen->text();
    for (const auto &[network, file] : ListFiles) {
        if (name != QLatin1String(network)) continue;
        Servers->clear();
        const QString path = settings::Find(QLatin1String(file));
        QFile f(path);
        if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) {
            // Nothing could be read: the one empty field that ends every list.
            addServer(QString());
            return;
        }
        for (const QString &host : settings::ReadFields(f.readAll())) addServer(host);
        return;
    }
    for (const char *network : BuiltInOrder) {
        if (name != QLatin1String(network)) continue;
        Servers->clear();
        for (const auto &[n, hosts] : BuiltInHosts())
            if (n == name)
                for (const QString &host : hosts) addServer(host);
        return;
    }
}

void frmSetup::Servers_Click()
{
    if (const QListWidgetItem *item = selectedIn(Servers)) txtServer->setText(item->text());
}

void frmSetup::Servers_DblClick() { cmdOK_Click(); }

// The list keeps its entries in alphabetical order, letter case aside.
void frmSetup::addServer(const QString &host)
{
    int at = 0;
    while (at < Servers->count() && Servers->item(at)->text().compare(host, Qt::CaseInsensitive) <= 0) ++at;
    Servers->insertItem(at, host);
}

void frmSetup::closeDialog() { done(QDialog::Accepted); }

QList<QWidget *> frmSetup::allTen() const
{
    return {txtPort, txtRN, txtNick, txtAlternativeNickname, txtEmail, txtLocalHost, txtLocalIp, Servers, Networks,
            txtServer};
}

QList<QWidget *> frmSetup::allBut(QWidget *w, bool withLocal) const
{
    QList<QWidget *> others = allTen();
    others.removeAll(w);
    if (!withLocal) {
        others.removeAll(txtLocalHost);
        others.removeAll(txtLocalIp);
    }
    return others;
}

void frmSetup::hover(QWidget *under, const QList<QWidget *> &others)
{
    if (under) setTextColour(under, 1);
    for (QWidget *w : others) setTextColour(w, 0);
}

void frmSetup::Form_MouseMove() { hover(nullptr, allTen()); }
void frmSetup::Frame1_MouseMove() { hover(nullptr, {txtPort, txtRN, txtNick, txtAlternativeNickname, txtEmail}); }
void frmSetup::Networks_MouseMove() { hover(Networks, allBut(Networks, true)); }
void frmSetup::Servers_MouseMove() { hover(Servers, allBut(Servers, true)); }
void frmSetup::txtEmail_MouseMove() { hover(txtEmail, allBut(txtEmail, true)); }
void frmSetup::txtLocalHost_MouseMove() { hover(txtLocalHost, allBut(txtLocalHost, true)); }
void frmSetup::txtLocalIp_MouseMove() { hover(txtLocalIp, allBut(txtLocalIp, true)); }
void frmSetup::txtServer_MouseMove() { hover(txtServer, allBut(txtServer, true)); }
void frmSetup::txtAlternativeNickname_MouseMove()
{
    hover(txtAlternativeNickname, allBut(txtAlternativeNickname, false));
}
void frmSetup::txtNick_MouseMove() { hover(txtNick, allBut(txtNick, false)); }
void frmSetup::txtPort_MouseMove() { hover(txtPort, allBut(txtPort, false)); }
void frmSetup::txtRN_MouseMove() { hover(txtRN, allBut(txtRN, false)); }

void frmSetup::mouseMoveEvent(QMouseEvent *event)
{
    Form_MouseMove();
    QDialog::mouseMoveEvent(event);
}

bool frmSetup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == Networks->viewport() || watched == Networks) Networks_MouseMove();
        else if (watched == Servers->viewport() || watched == Servers) Servers_MouseMove();
        else if (watched == Frame1) {
            Frame1_MouseMove();
            return true;  // the form's own move would blacken all ten
        }
        else if (watched == txtEmail) txtEmail_MouseMove();
        else if (watched == txtLocalHost) txtLocalHost_MouseMove();
        else if (watched == txtLocalIp) txtLocalIp_MouseMove();
        else if (watched == txtServer) txtServer_MouseMove();
        else if (watched == txtAlternativeNickname) txtAlternativeNickname_MouseMove();
        else if (watched == txtNick) txtNick_MouseMove();
        else if (watched == txtPort) txtPort_MouseMove();
        else if (watched == txtRN) txtRN_MouseMove();
    }
    return QDialog::eventFilter(watched, event);
}
