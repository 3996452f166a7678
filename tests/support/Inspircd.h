#pragma once
// A second real IRC server for tests: Debian's InspIRCd 3, which writes several line forms
// differently from ngircd. Its configuration comes from inspircd.conf.tmpl beside this
// file; it runs on a free loopback port, as the "irc" user when the test runs as root
// (InspIRCd refuses root), and is stopped when the test is done.
#include "ServerProcess.h"

class Inspircd : public ServerProcess
{
public:
    // The name the server gives itself, as the template sets it.
    const QString name = QStringLiteral("irc.insp.test");

    // Starts the server and waits until its port takes connections; false (with error())
    // when it cannot.
    bool start();
};
