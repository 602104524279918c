// Stands in for a file manager in the end-to-end tests: a small window at a given place on the screen which,
// pressed, starts a drag offering the files named on its command line as text/uri-list, the way file managers
// offer files to other programs.
//   uri_drag_source X Y FILE...
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace {

class UriDragSource : public QWidget
{
public:
    explicit UriDragSource(QList<QUrl> urls)
        : m_urls(std::move(urls))
    {
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        QDrag drag(this);
        drag.setMimeData(data);
        drag.exec(Qt::CopyAction);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4)
        return 2;
    QList<QUrl> urls;
    for (const QString& file : args.mid(3))
        urls.append(QUrl::fromLocalFile(file));
    UriDragSource source(urls);
    source.setWindowTitle(QStringLiteral("Files"));
    source.setGeometry(args[1].toInt(), args[2].toInt(), 120, 120);
    source.show();
    return QApplication::exec();
}
