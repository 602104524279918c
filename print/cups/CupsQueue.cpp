#include "print/cups/CupsQueue.h"

#include <cups/cups.h>

#include <algorithm>

namespace tvl {
namespace {

FileError CupsError(const QString& message, const QString& printer)
{
    FileError error;
    error.message = message;
    error.cause = printer + QStringLiteral(": ") + QString::fromUtf8(cupsLastErrorString());
    return error;
}

} // namespace

QStringList CupsPrinterNames()
{
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        if (!dests[i].instance)
            names.append(QString::fromUtf8(dests[i].name));
    }
    cupsFreeDests(count, dests);
    std::sort(names.begin(), names.end());
    return names;
}

QString CupsDefaultPrinter()
{
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!dest)
        return {};
    const QString name = QString::fromUtf8(dest->name);
    cupsFreeDests(1, dest);
    return name;
}

QStringList CupsTrays(const QString& printer)
{
    const QByteArray name = printer.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return {};
    QStringList trays;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t* sources = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "media-source")) {
            for (int i = 0; i < ippGetCount(sources); ++i)
                trays.append(QString::fromUtf8(ippGetString(sources, i, nullptr)).trimmed());
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return trays;
}

QString CupsMediaOf(QSize paper)
{
    const QSize portrait(std::min(paper.width(), paper.height()), std::max(paper.width(), paper.height()));
    if (portrait == QSize(8500, 11000))
        return QStringLiteral("Letter");
    if (portrait == QSize(8268, 11693))
        return QStringLiteral("A4");
    return QStringLiteral("Custom.%1x%2in")
        .arg(portrait.width() / 1000.0, 0, 'f', 3)
        .arg(portrait.height() / 1000.0, 0, 'f', 3);
}

FileResult<int> SubmitPdfJob(const QString& printer, const QString& title, const QByteArray& pdf,
                             const QString& media, const QStringList& options)
{
    const QByteArray name = printer.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest) {
        FileError error;
        error.message = QStringLiteral("There is no printer named \"%1\".").arg(printer);
        return error;
    }
    cupsFreeDests(1, dest);

    const QByteArray jobTitle = title.toUtf8();
    const QByteArray mediaName = media.toUtf8();
    cups_option_t* jobOptions = nullptr;
    int optionCount = 0;
    if (!mediaName.isEmpty())
        optionCount = cupsAddOption("media", mediaName.constData(), optionCount, &jobOptions);
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        optionCount = cupsAddOption(options[i].toUtf8().constData(), options[i + 1].toUtf8().constData(),
                                    optionCount, &jobOptions);
    }
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), optionCount, jobOptions);
    cupsFreeOptions(optionCount, jobOptions);
    if (job <= 0)
        return CupsError(QStringLiteral("Could not start print job."), printer);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, jobTitle.constData(), CUPS_FORMAT_PDF,
                          1) != HTTP_STATUS_CONTINUE) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        return CupsError(QStringLiteral("Could not start print job."), printer);
    }
    const http_status_t sent =
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<size_t>(pdf.size()));
    const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
    if (sent != HTTP_STATUS_CONTINUE || finished > IPP_STATUS_OK_CONFLICTING) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        return CupsError(QStringLiteral("The printer refused the print job."), printer);
    }
    return job;
}

} // namespace tvl
