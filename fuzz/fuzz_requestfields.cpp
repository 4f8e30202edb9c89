// Feeds arbitrary bytes to what knitfleet serve reads of a request's parts: the form body's
// fields, the Cookie header's session values, the Host header's name and a job assignment's
// body (JSON or form). Nothing may crash; nothing read is longer than where it came from; a
// cookie value holds no ';' (it would be a second cookie); an assignment read names a plain job
// and a version in range, or clears.
#include "seeds.h"

#include "dashboard/jobassignments.h"
#include "dashboard/jobfiles.h"
#include "dashboard/requestfields.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 8 * 1024)
        return 0;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const char *name : {"user", "password", "csrf"})
        ABORT_IF(RequestFields::formField(bytes, name).size() > bytes.size());
    for (const QByteArray &value : RequestFields::cookies(bytes, "knitfleet_session"))
        ABORT_IF(value.size() > bytes.size() || value.contains(';'));
    ABORT_IF(RequestFields::host(bytes).size() > bytes.size());
    for (const bool form : {false, true}) {
        QString job, why;
        int version = -1;
        if (JobAssignments::readBody(bytes, form, &job, &version, &why))
            ABORT_IF(version < 0 || version > 1000000000 || (!job.isEmpty() && JobFiles::name(job.toUtf8()) != job));
        else
            ABORT_IF(why.isEmpty());
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"user=boss&password=b%20055+x&csrf=abc", "user=&password=%zz%4", "csrf=%E4%B8%AD&&&=",
            "knitfleet_session=AbC-_9; other=1; knitfleet_session=second", " ; ;knitfleet_session= ;knitfleet_session",
            "{\"job\":\"M1\",\"version\":3}", "{\"job\":\"\"}", "job=M1&version=3", "{\"job\":\"a/b\",\"version\":1e99}"};
}
