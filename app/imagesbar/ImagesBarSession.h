#pragma once

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>

namespace tvl {

class CMervo6View;
class DesignDocument;
class ImagesBarWidget;
class ImageSearchDialog;
class MainWindow;
struct AppContext;

// Puts the images browser in the window's "Images" bar and connects it with the design: a thumbnail
// dropped on the label becomes a picture there, a double click a background of the current surface,
// "[No Background]" removes that background, the right button offers "Copy Image". Each is one undo step.
// Starts by browsing the default folder (BrowseDefaultPath, else the user's Pictures folder) with the saved
// filter and sub-folder choice.
class ImagesBarSession final
{
public:
    ImagesBarSession(MainWindow& window, DesignDocument& document, CMervo6View& view, AppContext& context);

    ImagesBarWidget& bar() { return *m_bar; }

    // A picture file placed on the label, centred on a window point of the view, with its thumbnail's
    // size; with background it becomes the background of the area it lands on. An outline that touches
    // no surface of the sheet adds nothing.
    bool DropPicture(const QString& path, QPoint window, bool background);
    // The file becomes the background of the current surface (for a folded front cover, its right half).
    bool SetBackground(const QString& path);
    // Deletes the backgrounds of the current surface.
    bool RemoveBackground();
    // Opens the "Image Search" dialog, or brings the open one forward.
    ImageSearchDialog* OpenSearch();
    // Puts the picture of a file on the clipboard.
    bool CopyImage(const QString& path);

private:
    // Whether an outline in window pixels touches a surface of the sheet on screen.
    bool InDropArea(const QRect& pixels) const;
    bool InsertPicture(const QString& path, const QRect& rect, bool background);
    void ReportPictureError(const QString& message);
    // The label view's menu, with "Copy Image" for the file in place of Copy Object.
    void ShowImageMenu(const QString& path, QPoint global);

    MainWindow& m_window;
    DesignDocument& m_document;
    CMervo6View& m_view;
    AppContext& m_context;
    ImagesBarWidget* m_bar = nullptr;
    QPointer<ImageSearchDialog> m_search;
};

} // namespace tvl
