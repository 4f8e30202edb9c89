#include "verifiedblobs.h"

bool VerifiedBlobs::holds(const QString &digest, const QByteArray &data)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = byDigest_.constFind(digest);
    if (found == byDigest_.constEnd() || (*found)->data != data)
        return false;
    used_.splice(used_.begin(), used_, *found);
    return true;
}

void VerifiedBlobs::keep(const QString &digest, const QByteArray &data)
{
    if (data.size() > kMaxBytes)
        return;
    const std::lock_guard<std::mutex> lock(mutex_);
    if (const auto found = byDigest_.constFind(digest); found != byDigest_.constEnd()) {
        bytes_ -= (*found)->data.size();
        used_.erase(*found);
        byDigest_.erase(found);
    }
    while (!used_.empty() && bytes_ + data.size() > kMaxBytes) {
        bytes_ -= used_.back().data.size();
        byDigest_.remove(used_.back().digest);
        used_.pop_back();
    }
    used_.push_front({digest, data});
    byDigest_.insert(digest, used_.begin());
    bytes_ += data.size();
}
