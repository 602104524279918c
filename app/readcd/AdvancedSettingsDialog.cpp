#include "app/readcd/AdvancedSettingsDialog.h"

#include "app/messages/ErrorReport.h"
#include "app/readcd/ReadCdSession.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tvl {

namespace {

constexpr int captionWidthLimit = 310;
const QString caption = QStringLiteral(" Advanced Settings");
const QString fetchText = QStringLiteral(" Retrieving Freedb Server List ");

QString ServerText(const DiscDbServer& server)
{
    return server.host + QStringLiteral(" - ") + server.description;
}

QFont GroupFont(const QFont& base)
{
    QFont font = base;
    font.setPointSizeF(8.5);
    font.setWeight(QFont::Bold);
    return font;
}

QGroupBox* Group(const QString& title, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    group->setFont(GroupFont(parent->font()));
    return group;
}

} // namespace

AdvancedSettingsDialog::AdvancedSettingsDialog(ReadCdSession& session, QWidget* parent)
    : QDialog(parent)
    , session(session)
{
    Guarded(405, [&] {
        setWindowTitle(caption);
        setObjectName(QStringLiteral("AdvancedSettingsDialog"));
        const AppSettings& settings = session.settings;

        QGroupBox* freedb = Group(QStringLiteral("Freedb  Settings"), this);
        serverBox = new QComboBox(freedb);
        serverBox->setEditable(true);
        serverBox->setFont(font());
        serverListButton = new QPushButton(QStringLiteral("Get Server List"), freedb);
        serverListButton->setFont(font());
        emailEdit = new QLineEdit(session.helloAddress, freedb);
        emailEdit->setFont(font());
        auto* freedbLayout = new QFormLayout(freedb);
        auto* serverRow = new QHBoxLayout;
        serverRow->addWidget(serverBox, 1);
        serverRow->addWidget(serverListButton);
        auto* serverLabel = new QLabel(QStringLiteral("Freedb Server"), freedb);
        serverLabel->setFont(font());
        serverLabel->setBuddy(serverBox);
        freedbLayout->addRow(serverLabel, serverRow);
        auto* emailLabel = new QLabel(QStringLiteral("E-mail address for the disc database"), freedb);
        emailLabel->setFont(font());
        emailLabel->setBuddy(emailEdit);
        freedbLayout->addRow(emailLabel, emailEdit);

        QGroupBox* player = Group(QStringLiteral("CDPlayer.ini  Settings"), this);
        pathEdit = new QLineEdit(settings.cdPlayerPath, player);
        pathEdit->setFont(font());
        browseButton = new QPushButton(QStringLiteral("Browse"), player);
        browseButton->setFont(font());
        auto* pathLabel = new QLabel(QStringLiteral("CDPlayer.ini  Path"), player);
        pathLabel->setFont(font());
        pathLabel->setBuddy(pathEdit);
        auto* playerLayout = new QHBoxLayout(player);
        playerLayout->addWidget(pathLabel);
        playerLayout->addWidget(pathEdit, 1);
        playerLayout->addWidget(browseButton);

        QGroupBox* mp3 = Group(QStringLiteral("MP3 Settings"), this);
        tagBox = new QCheckBox(QStringLiteral("Use ID3 tag information when possible."), mp3);
        tagBox->setFont(font());
        tagBox->setChecked(settings.mp3Tag);
        auto* mp3Layout = new QVBoxLayout(mp3);
        mp3Layout->addWidget(tagBox);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        QPushButton* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
        help->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(help, &QPushButton::clicked, this, [this] {
            if (this->session.openHelp)
                this->session.openHelp();
        });

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(freedb);
        layout->addWidget(player);
        layout->addWidget(mp3);
        layout->addWidget(buttons);

        connect(serverListButton, &QPushButton::clicked, this, [this] { GetServerList(); });
        connect(browseButton, &QPushButton::clicked, this, [this] { Browse(); });
        // The tag option is written at once; Cancel does not take it back.
        connect(tagBox, &QCheckBox::toggled, this, [this](bool on) {
            this->session.settings.mp3Tag = on;
            this->session.store.WriteSetting(u"Number", QStringLiteral("bMp3Tag"),
                                             on ? QStringLiteral("1") : QStringLiteral("0"));
        });
        connect(&timer, &QTimer::timeout, this, [this] { Tick(); });
        timer.setInterval(100);
        FillServers();
        serverListButton->setFocus();
        // A fetch started by an earlier opening may still be running.
        if (session.serverList.Status() == ServerListFetch::fetching)
            GetServerList();
    });
}

void AdvancedSettingsDialog::FillServers()
{
    serverBox->clear();
    const QList<DiscDbServer> servers = session.serverList.Servers();
    const QString current = ServerText(session.currentServer.server);
    if (servers.isEmpty()) {
        serverBox->addItem(current);
        serverBox->setCurrentIndex(0);
        return;
    }
    int selected = -1;
    for (const DiscDbServer& server : servers) {
        const QString text = ServerText(server);
        if (selected < 0 && text.startsWith(current, Qt::CaseInsensitive))
            selected = serverBox->count();
        serverBox->addItem(text);
    }
    serverBox->setCurrentIndex(selected);
}

void AdvancedSettingsDialog::GetServerList()
{
    if (!session.serverList.Servers().isEmpty())
        return;
    if (session.serverList.Status() != ServerListFetch::fetching &&
        !session.serverList.Start(session.workers, session.listServer, session.helloAddress,
                                  session.timeoutMs))
        return;
    trail.clear();
    setWindowTitle(fetchText);
    timer.start();
}

void AdvancedSettingsDialog::Tick()
{
    Guarded(415, [&] {
        const int status = session.serverList.Status();
        if (status == ServerListFetch::fetching) {
            setCursor(Qt::WaitCursor);
            trail += u'.';
            setWindowTitle(fetchText + trail);
            if (QFontMetrics(GroupFont(font())).horizontalAdvance(fetchText + trail) > captionWidthLimit)
                trail.clear();
            return;
        }
        timer.stop();
        unsetCursor();
        setWindowTitle(caption);
        if (status == ServerListFetch::fetched) {
            FillServers();
        } else {
            session.Tell(
                1,
                QStringLiteral("Tovrelline could not connect to the Freedb server.\r\n\r\nPlease make sure "
                               "your computer is connected to the internet and\r\nthat there is no "
                               "firewall software blocking Tovrelline.\r\n\r\nYou may have to re-boot "
                               "your computer to correct this problem."),
                QStringLiteral("OK`"), this);
        }
    });
}

void AdvancedSettingsDialog::Browse()
{
    const QString path = session.settings.cdPlayerPath;
    const QString folder = ReadCdSession::CanOpen(path) ? QFileInfo(path).absolutePath() : QDir::homePath();
    const QString picked = session.pickFile(this, QStringLiteral("CDPlayer File"), folder,
                                            QStringLiteral("CDPlayer Files (*.ini);;All Files (*)"));
    if (picked.isEmpty())
        return;
    // Stored at once; the running program takes it on OK.
    session.store.WriteSetting(u"String", QStringLiteral("CDPlayerPath"), picked);
    pathEdit->setText(picked);
}

void AdvancedSettingsDialog::accept()
{
    Guarded(411, [&] {
        AppSettings& settings = session.settings;
        if (pathEdit->text() != settings.cdPlayerPath) {
            settings.cdPlayerPath = pathEdit->text();
            session.store.WriteSetting(u"String", QStringLiteral("CDPlayerPath"), settings.cdPlayerPath);
        }
        if (settings.cdPlayer && !ReadCdSession::CanOpen(settings.cdPlayerPath)) {
            session.Tell(2, QStringLiteral("The selected CDPlayer file does not exist."),
                         QStringLiteral("OK`"), this);
            settings.cdPlayer = false;
            session.store.WriteSetting(u"Number", QStringLiteral("bCDPlayer"), QStringLiteral("0"));
        }
        const QString email = emailEdit->text().trimmed();
        if (email != session.helloAddress) {
            session.helloAddress = email;
            session.store.WriteSetting(u"String", ReadCdSession::EmailSettingName(), email);
        }
        const QList<DiscDbServer> servers = session.serverList.Servers();
        const int selected = serverBox->currentIndex();
        if (!servers.isEmpty() && selected >= 0 && selected < servers.size() &&
            serverBox->currentText() == serverBox->itemText(selected)) {
            const DiscDbServer& chosen = servers[selected];
            DiscDbServer& current = session.currentServer.server;
            current.host = chosen.host;
            current.port = chosen.port;
            current.path = chosen.path;
            current.description = chosen.description;
        }
        settings.freedbOptions = session.currentServer.Format();
        settings.freedbFields = SplitFields(settings.freedbOptions, 9);
        session.store.WriteSetting(u"String", QStringLiteral("FreedbOptions"), settings.freedbOptions);
    });
    QDialog::accept();
}

void AdvancedSettingsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && session.openHelp) {
        session.openHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tvl
