#pragma once

#include <QString>
#include <cups/cups.h>

#include <algorithm>
#include <utility>

namespace tvl::test {

// The newest job of a queue on the CUPS server in use and the value of one of its attributes as text (""
// when the job does not have it); job 0 when the queue has none.
inline std::pair<int, QString> NewestJobAttribute(const QString& queue, const char* attributeName)
{
    const QByteArray name = queue.toUtf8();
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, name.constData(), 0, CUPS_WHICHJOBS_ALL);
    int newest = 0;
    for (int i = 0; i < count; ++i)
        newest = std::max(newest, jobs[i].id);
    cupsFreeJobs(count, jobs);
    if (newest == 0)
        return {0, {}};
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(newest);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    QString value;
    if (ipp_attribute_t* attribute = ippFindAttribute(response, attributeName, IPP_TAG_ZERO)) {
        const ipp_tag_t tag = ippGetValueTag(attribute);
        value = tag == IPP_TAG_INTEGER || tag == IPP_TAG_ENUM
                    ? QString::number(ippGetInteger(attribute, 0))
                    : QString::fromUtf8(ippGetString(attribute, 0, nullptr));
    }
    ippDelete(response);
    return {newest, value};
}

} // namespace tvl::test
