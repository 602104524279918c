#pragma once

#include <QDialog>
#include <QTimer>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tvl {

struct ReadCdSession;

// " Advanced Settings" of the Read CD sources: the disc-database server (with "Get Server List", fetched
// once per run on a worker), the e-mail address sent to it, the CD player file and whether MP3 rows
// start with their tag names. OK writes FreedbOptions, the address and the CD player path.
class AdvancedSettingsDialog final : public QDialog
{
public:
    AdvancedSettingsDialog(ReadCdSession& session, QWidget* parent = nullptr);

    QComboBox* ServerBox() const { return serverBox; }
    QPushButton* ServerListButton() const { return serverListButton; }
    QLineEdit* PathEdit() const { return pathEdit; }
    QPushButton* BrowseButton() const { return browseButton; }
    QCheckBox* TagBox() const { return tagBox; }
    QLineEdit* EmailEdit() const { return emailEdit; }
    bool IsFetching() const { return timer.isActive(); }

    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillServers();
    void GetServerList();
    void Tick();
    void Browse();

    ReadCdSession& session;
    QComboBox* serverBox = nullptr;
    QPushButton* serverListButton = nullptr;
    QLineEdit* emailEdit = nullptr;
    QLineEdit* pathEdit = nullptr;
    QPushButton* browseButton = nullptr;
    QCheckBox* tagBox = nullptr;
    QTimer timer;
    QString trail;
};

} // namespace tvl
