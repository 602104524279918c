#include "document/files/DesignFile.h"

#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"
#include "document/files/PictureBlock.h"
#include "document/files/SafeWrite.h"
#include "document/files/early/EarlyDesignReader.h"
#include "document/model/CProperty.h"
#include "document/model/CText.h"
#include "storage/LocalFileName.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace tvl {
namespace {

constexpr int kReadError = 153;
constexpr int kWriteError = 154;
// An early design keeps each item in at most 15 property rows and its album in a few text rows; the
// placeholder lists of a current one hold a single row each.
constexpr std::uint32_t kMaxPlaceholderRows = kMaxDesignItems * 16;

// The stages of a read, in the order they are reached; a failed read reports the last one.
enum ReadStage
{
    StagePlaceholderProperties = 2,
    StagePlaceholderTexts = 3,
    StageVersion = 4,
    StageHeader = 5,
    StageHeaderCheck = 6,
    StageItems = 7,
    StagePictures = 8,
};

FileError Refusal(const QString& message)
{
    return FileError{FileError::Kind::Refused, message, 0, 0};
}

bool IsImage(const CRichChild& item)
{
    return item.kind == ItemKind::Image;
}

FileError ReadFailure(int stage, const QString& cause)
{
    FileError error{FileError::Kind::Failed, ErrorText(kReadError, stage), kReadError, stage};
    error.cause = cause;
    return error;
}

QString TooManyItems()
{
    return QStringLiteral("the design holds more than %1 items").arg(kMaxDesignItems);
}

// What a stage reads, to say where a damaged file broke.
QString StageRecord(int stage)
{
    switch (stage) {
    case StagePlaceholderProperties:
        return QStringLiteral("the placeholder property list");
    case StagePlaceholderTexts:
        return QStringLiteral("the placeholder text list");
    case StageHeader:
        return QStringLiteral("the album header");
    case StageItems:
        return QStringLiteral("an item record");
    case StagePictures:
        return QStringLiteral("a picture block");
    case EarlyStageHeader:
        return QStringLiteral("the early design header");
    case EarlyStagePictures:
        return QStringLiteral("an early picture block");
    case EarlyStageRows:
        return QStringLiteral("the early property rows");
    default:
        return QStringLiteral("the design");
    }
}

QString ArchiveCause(ArchiveError::Cause cause, int stage)
{
    const QString record = StageRecord(stage);
    switch (cause) {
    case ArchiveError::Cause::EndOfFile:
        return QStringLiteral("the file ends inside %1").arg(record);
    case ArchiveError::Cause::BadIndex:
        return QStringLiteral("a broken object reference in %1").arg(record);
    case ArchiveError::Cause::BadClass:
        return QStringLiteral("an unknown record class in %1").arg(record);
    case ArchiveError::Cause::BadSchema:
        return QStringLiteral("an unsupported record version in %1").arg(record);
    case ArchiveError::Cause::OutOfMemory:
        return QStringLiteral("not enough memory to read %1").arg(record);
    case ArchiveError::Cause::TooManyElements:
        if (stage == StageItems)
            return TooManyItems();
        return QStringLiteral("%1 holds more than %2 rows").arg(record).arg(kMaxPlaceholderRows);
    }
    return QStringLiteral("the file is damaged in %1").arg(record);
}

bool WithinSheetRange(int value)
{
    return value >= -kMaxDesignMils && value <= kMaxDesignMils;
}

// A failure for the first item whose rectangle lies beyond any sheet, or nothing when all are in range.
std::optional<FileError> CheckDesignSize(const LabelDesign& design, int stage)
{
    if (design.itemList.size() > kMaxDesignItems)
        return ReadFailure(stage, TooManyItems());
    for (const auto& item : design.itemList) {
        if (!WithinSheetRange(item->left()) || !WithinSheetRange(item->top()) ||
            !WithinSheetRange(item->width()) || !WithinSheetRange(item->height()))
            return ReadFailure(
                stage,
                QStringLiteral("the item \"%1\" lies beyond %2 mils").arg(item->name).arg(kMaxDesignMils));
    }
    return std::nullopt;
}

FileResult<DesignContent> ReadContent(CArchive& archive, PictureReading pictures, int& stage)
{
    DesignContent content;
    stage = StagePlaceholderProperties;
    // Kept until the read ends (the early reader takes them over): later records may refer back to them.
    auto properties = GetObjectArray<CProperty>(archive, kMaxPlaceholderRows);
    stage = StagePlaceholderTexts;
    auto texts = GetObjectArray<CText>(archive, kMaxPlaceholderRows);
    content.fileVersion = texts.empty() ? -1 : texts.front()->schemaSeen;

    stage = StageVersion;
    const int version = content.fileVersion;
    CAlbumInfo& header = content.design.albumHeader;
    if (version < kDesignVersion)
        header.caseKind = QStringLiteral("Jewel");
    if (version > kDesignVersion) {
        return Refusal(
            QStringLiteral("This file cannot be opened because it was created with a newer version "
                           "of Tovrelline. \r\nPlease open this file with the latest version."));
    }
    if (version >= 7 && version < kOldestDesignVersion) {
        return Refusal(
            QStringLiteral("This file cannot be opened because it was created with a newer version "
                           "of Tovrelline. \r\n Please open this file with the latest version."));
    }
    if (version <= kLastEarlyVersion) {
        const EarlyReadResult early =
            ReadEarlyDesign(archive, version, std::move(properties), std::move(texts), content.design);
        stage = early.stage;
        if (!early.ok)
            return ReadFailure(stage,
                               QStringLiteral("the early design is damaged in %1").arg(StageRecord(stage)));
        if (auto failure = CheckDesignSize(content.design, stage))
            return *failure;
        content.reportedErrors = early.reportedErrors;
        return content;
    }

    stage = StageHeader;
    header.headerWithoutCaseKind = version == kOldestDesignVersion;
    header.Serialize(archive);
    header.headerWithoutCaseKind = false;

    stage = StageHeaderCheck;
    const bool discModeKnown = header.discMode == u"Single" || header.discMode == u"Double";
    const bool caseKindKnown = header.caseKind == u"Jewel" || header.caseKind == u"DVD";
    if (!discModeKnown || !caseKindKnown)
        return ReadFailure(stage, QStringLiteral("the header's disc mode or case kind is unknown"));

    stage = StageItems;
    archive.SetAlbumContext(&header);
    content.design.ReplaceItems(GetObjectArray<CRichChild>(archive, kMaxDesignItems));
    archive.SetAlbumContext(nullptr);
    if (auto failure = CheckDesignSize(content.design, stage))
        return *failure;

    stage = StagePictures;
    for (const auto& item : content.design.itemList) {
        if (!IsImage(*item))
            continue;
        if (pictures == PictureReading::Decode)
            GetPictureBlock(archive, *item);
        else if (pictures == PictureReading::KeepEncoded)
            GetPictureBlockKept(archive, *item);
        else if (auto header = GetPictureBlockHeader(archive, *item))
            content.pictureHeaders.push_back(*header);
    }
    return content;
}

} // namespace

FileResult<> WriteDesign(QIODevice& device, LabelDesign& design, const LiveDesignState& live)
{
    CAlbumInfo& header = design.albumHeader;
    header.currentSurface = live.currentSurface;
    header.currentPageCode = live.currentPageCode;
    header.discMode = live.discMode;
    header.caseKind = live.caseKind;
    header.headerWithoutCaseKind = false;

    CArchive archive(device, CArchive::Mode::Store);
    std::vector<std::unique_ptr<CProperty>> properties;
    properties.push_back(std::make_unique<CProperty>());
    std::vector<std::unique_ptr<CText>> texts;
    texts.push_back(std::make_unique<CText>());
    PutObjectArray(archive, properties);
    PutObjectArray(archive, texts);
    header.Serialize(archive);
    PutObjectArray(archive, design.itemList);
    for (const auto& item : design.itemList) {
        if (IsImage(*item) && !PutPictureBlock(archive, *item))
            return FileError{FileError::Kind::Failed, ErrorText(kWriteError), kWriteError, 0};
    }
    archive.Flush();
    return std::monostate{};
}

FileResult<> WriteDesignFile(const QString& path, LabelDesign& design, const LiveDesignState& live)
{
    return WriteFileSafely(
        path, [&](QIODevice& device) { return WriteDesign(device, design, live); },
        QStringLiteral("Error saving file."));
}

FileResult<DesignContent> ReadDesign(QIODevice& device, PictureReading pictures)
{
    int stage = 1;
    try {
        CArchive archive(device, CArchive::Mode::Load);
        return ReadContent(archive, pictures, stage);
    } catch (const ArchiveError& error) {
        return ReadFailure(stage, ArchiveCause(error.cause(), stage));
    } catch (const std::bad_alloc&) {
        return ReadFailure(stage, ArchiveCause(ArchiveError::Cause::OutOfMemory, stage));
    }
}

FileResult<DesignContent> ReadDesignFile(const QString& path, PictureReading pictures)
{
    // Opened by its own bytes: a name that is not UTF-8 must not be re-encoded into another file's name.
    const int descriptor = ::open(FileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    QFile file;
    if (descriptor < 0 || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const int reason = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        FileError error{FileError::Kind::Failed, QStringLiteral("Error opening file."), 0, 0};
        error.cause = QString::fromLocal8Bit(std::strerror(descriptor < 0 ? reason : EIO));
        return error;
    }
    return ReadDesign(file, pictures);
}

} // namespace tvl
