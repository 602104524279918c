#pragma once

#include "document/archive/ArchiveRecord.h"
#include "document/model/ItemFont.h"
#include "document/model/ItemKind.h"
#include "document/model/Revision.h"
#include "document/model/UndoRecorder.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tvl {

class CxImage;

// Marker passed to an accessor to read the value instead of setting it.
inline constexpr int kNoValue = -32000;

// The cell terminator that ends every cell of a text; a line break inside a cell is '\r'.
inline constexpr char32_t kCellEnd = 0x08;
inline constexpr char32_t kLineBreak = 0x0D;

// A colour 0x00BBGGRR.
using ItemColor = std::uint32_t;

// CRichChild is one label item of any kind (its name is the record class of design files): a sheet
// outline, a surface, a guide area, a text block, a track list or a picture; kind tells which. Positions and
// sizes are thousandths of an inch from the top-left corner of the item's sheet. Disc surfaces keep the outer
// diameter in width and the hub diameter in height.
//
// Accessors called with kNoValue (integers) or an empty string return the value; called with a value
// they report the change to the undo recorder (when one is attached) and then store it.
// A changed value bumps the item's revision, which the caches of what is derived from it (its layout)
// are keyed by.
//
// Copies share the picture: a picture is never changed in place, it is replaced.
class CRichChild : public ArchiveRecord
{
public:
    static const RecordClass& Class();
    const RecordClass& recordClass() const override { return Class(); }
    // Writes or reads the stored item record; the text, fonts and colours strings are encoded from and
    // decoded into the arrays (the album context of the archive supplies linked texts).
    void Serialize(CArchive& archive) override;

    QString name;
    ItemKind kind = ItemKind::None;
    QString pageCode;
    QString surface;
    int coverFolded = 0;
    int coverSpine = 0;
    std::shared_ptr<CxImage> image;
    // A stored picture the image layer could not decode, kept with its format code exactly as read so that
    // saving the design writes it back instead of dropping it. Empty once the item has a picture of its own.
    struct StoredPicture
    {
        qint64 code = 0;
        QByteArray bytes;
    };
    StoredPicture undecodedPicture;
    // The picture's stored bytes as read by a read that does not decode (PictureReading::KeepEncoded);
    // saving writes them back unchanged. Ignored once the item has a decoded picture.
    StoredPicture keptPicture;
    std::vector<char32_t> characters;           // one element per character, cells end with kCellEnd
    std::vector<std::optional<ItemFont>> fonts; // sparse: a set slot starts a run
    std::vector<std::optional<ItemColor>> colors;
    std::vector<std::uint16_t> underlines;

    int discPosition = 0;
    int cursorStart = 0;
    int cursorEnd = 0;
    QString imagePath;

    int left(int value = kNoValue);
    int top(int value = kNoValue);
    int width(int value = kNoValue);
    int height(int value = kNoValue);
    int textMargin(int value = kNoValue);
    int bAspectRatio(int value = kNoValue);
    int bLinkText(int value = kNoValue);
    int bAutoFit(int value = kNoValue);
    int bBackground(int value = kNoValue);
    QString angle(const QString& value = {});
    QString wrapStyle(const QString& value = {});
    QString alignment(const QString& value = {});
    QString trackNumbers(const QString& value = {});
    QString textLayout(const QString& value = {});

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int textMargin() const { return m_textMargin; }
    int bAspectRatio() const { return m_bAspectRatio; }
    int bLinkText() const { return m_bLinkText; }
    int bAutoFit() const { return m_bAutoFit; }
    int bBackground() const { return m_bBackground; }
    const QString& angle() const { return m_angle; }
    const QString& wrapStyle() const { return m_wrapStyle; }
    const QString& alignment() const { return m_alignment; }
    const QString& trackNumbers() const { return m_trackNumbers; }
    const QString& textLayout() const { return m_textLayout; }

    void AttachRecorder(UndoRecorder* recorder) { m_recorder = recorder; }

    // The stored name of the kind; a name this program does not know is kept as it was read.
    QString KindName() const;
    void SetKindName(const QString& name);
    bool IsTextual() const { return tvl::IsTextual(kind); }

    // Changes whenever the item changes; a new or copied item has one no other item had.
    std::uint64_t revision() const { return m_revision.value(); }
    // Code that writes the public arrays or fields directly says so here.
    void MarkChanged() { m_revision.Bump(); }

    bool IsDiscSurface() const;
    // Origin (left, top) and size (width, height), so x() + width() is the right edge; a disc surface
    // gives the square of its outer diameter.
    QRect Rect() const;
    // The hub square of a disc surface, centred in Rect(); other items give Rect().
    QRect InnerRect() const;

    QString Text() const;
    // Replaces the characters; font and colour runs stay with the cell and offset they started at (new
    // cells of a track list take the runs of the same column of the last track), underlines likewise.
    void ReplaceText(const QString& text);

private:
    int SetInt(UndoKey key, int& field, int value);
    QString SetString(UndoKey key, QString& field, const QString& value);

    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    int m_textMargin = 0;
    int m_bAspectRatio = 0;
    int m_bLinkText = 0;
    int m_bAutoFit = 0;
    int m_bBackground = 0;
    QString m_angle;
    QString m_wrapStyle;
    QString m_alignment;
    QString m_trackNumbers;
    QString m_textLayout;

    QString m_otherKindName;
    UndoRecorder* m_recorder = nullptr;
    Revision m_revision;
};

// Code points of text, one element per character.
std::vector<char32_t> ToCharacters(QStringView text);
QString FromCharacters(const std::vector<char32_t>& characters);

} // namespace tvl
