#include "document/files/DesignFile.h"

#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"
#include "document/files/PictureBlock.h"
#include "document/files/SafeWrite.h"
#include "document/files/early/EarlyDesignReader.h"
#include "document/model/CProperty.h"
#include "document/model/CText.h"

#include <QFile>

namespace tvl {
namespace {

constexpr int kReadError = 153;
constexpr int kWriteError = 154;

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

FileResult<DesignContent> ReadContent(CArchive& archive, int& stage)
{
    DesignContent content;
    stage = StagePlaceholderProperties;
    // Kept until the read ends (the early reader takes them over): later records may refer back to them.
    auto properties = GetObjectArray<CProperty>(archive);
    stage = StagePlaceholderTexts;
    auto texts = GetObjectArray<CText>(archive);
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
            return FileError{FileError::Kind::Failed, ErrorText(kReadError, stage), kReadError, stage};
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
        return FileError{FileError::Kind::Failed, ErrorText(kReadError, stage), kReadError, stage};

    stage = StageItems;
    archive.SetAlbumContext(&header);
    content.design.ReplaceItems(GetObjectArray<CRichChild>(archive));
    archive.SetAlbumContext(nullptr);

    stage = StagePictures;
    for (const auto& item : content.design.itemList) {
        if (IsImage(*item))
            GetPictureBlock(archive, *item);
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

FileResult<DesignContent> ReadDesign(QIODevice& device)
{
    int stage = 1;
    try {
        CArchive archive(device, CArchive::Mode::Load);
        return ReadContent(archive, stage);
    } catch (const ArchiveError&) {
    } catch (const std::bad_alloc&) {
    }
    return FileError{FileError::Kind::Failed, ErrorText(kReadError, stage), kReadError, stage};
}

FileResult<DesignContent> ReadDesignFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileError{FileError::Kind::Failed, QStringLiteral("Error opening file."), 0, 0};
    return ReadDesign(file);
}

} // namespace tvl
