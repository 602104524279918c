#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

namespace tvl {

class ImageBrowser;
class SettingsStore;

// "Image Search": a folder tree whose selection fills the Images bar, with the file types, the sub-folder
// choice and the default folder beside it. While the bar lists, the caption counts the pictures found and
// "Close" reads "Stop Search".
class ImageSearchDialog final : public QDialog
{
public:
    // browse fills the bar with (folder, patterns, sub-folders); browser tells how far the listing is.
    ImageSearchDialog(ImageBrowser& browser, SettingsStore& store,
                      std::function<void(const QString&, const QString&, bool)> browse,
                      QWidget* parent = nullptr);

    QString caption() const;
    QPushButton* closeButton() const { return m_close; }
    // Selects a folder in the tree, as a click on it does.
    void ChooseFolder(const QString& folder);

private:
    void Search();
    void Tick();
    void CloseOrStop();
    QString SelectedFolder() const;
    QString DefaultFolder() const;

    ImageBrowser& m_browser;
    SettingsStore& m_store;
    std::function<void(const QString&, const QString&, bool)> m_browse;
    QFileSystemModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QLabel* m_caption = nullptr;
    QComboBox* m_filter = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QCheckBox* m_setDefault = nullptr;
    QPushButton* m_close = nullptr;
    QTimer m_progress;
    int m_dots = 0;
    int m_ticksAfterEnd = -1;
    bool m_stopping = false;
};

} // namespace tvl
