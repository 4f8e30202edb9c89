// Feeds arbitrary bytes to the readers of the office's job library: library.ini as read from
// the disk, the library's list as the office answers it, knitjob's list lines as the panel
// reads them, and the office's offer as the broker delivers it. None may crash; what they keep
// must be a job name the panel can store, digests of 64 hex digits and a list within its bound.
#include "seeds.h"

#include "data/libraryconfig.h"
#include "data/librarylisting.h"
#include "telemetry/joboffer.h"

static bool sound(const LibraryListing::Job &job)
{
    return LibraryListing::isJobName(job.name) && job.version >= 1 && LibraryListing::isDigest(job.sha256[0])
        && LibraryListing::isDigest(job.sha256[1]) && LibraryListing::isDigest(job.sha256[2]);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    LibraryConfig config;
    QString why;
    ABORT_IF(LibraryConfig::parse(bytes, &config, &why) && (config.token.isEmpty() || config.machine.isEmpty()));
    QList<LibraryListing::Job> jobs;
    if (LibraryListing::fromJson(bytes, &jobs, &why)) {
        ABORT_IF(jobs.size() > LibraryListing::kMaxJobs);
        for (const LibraryListing::Job &job : LibraryListing::newest(jobs)) {
            LibraryListing::Job back;
            ABORT_IF(!sound(job) || !LibraryListing::fromLine(LibraryListing::line(job), &back) || back.name != job.name);
        }
    }
    for (const QByteArray &line : bytes.split('\n')) {
        LibraryListing::Job job;
        ABORT_IF(LibraryListing::fromLine(line, &job) && !sound(job));
    }
    JobOffer offer;
    ABORT_IF(JobOffer::parse(bytes, &offer)
             && (!LibraryListing::isJobName(offer.job) || offer.version < 1 || offer.by.size() > JobOffer::kMaxBy));
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    const std::string digest(64, 'a');
    return {"[library]\nurl = http://127.0.0.1:8080\nmachine = M-1\ntoken = abc_DEF-123\n",
            "{\"jobs\":[{\"name\":\"M1\",\"version\":3,\"rows\":100,\"width\":80,\"size\":16926,\"uploaded\":\"2026-12-09T10:00:00Z\","
            "\"sha256\":{\"cnt\":\"" + digest + "\",\"pat\":\"" + digest + "\",\"wrk\":\"" + digest + "\"}}]}",
            "job\tM1\t3\t100\t80\t16926\t2026-12-09T10:00:00Z\t" + digest + "\t" + digest + "\t" + digest,
            "{\"job\":\"M1\",\"version\":3,\"sha256\":{\"cnt\":\"" + digest + "\",\"pat\":\"" + digest + "\",\"wrk\":\"" + digest
                + "\"},\"by\":\"anna\",\"time\":\"2026-12-09T10:00:00\"}"};
}
