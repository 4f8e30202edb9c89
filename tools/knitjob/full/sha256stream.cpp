#include "sha256stream.h"

#ifdef KNIT_HAVE_SODIUM
#include <sodium.h>
#else
#include <QCryptographicHash>
#endif

#ifdef KNIT_HAVE_SODIUM
struct Sha256Stream::State
{
    crypto_hash_sha256_state sha;
};

Sha256Stream::Sha256Stream()
    : state_(std::make_unique<State>())
{
    crypto_hash_sha256_init(&state_->sha);
}

void Sha256Stream::addData(const QByteArray &piece)
{
    crypto_hash_sha256_update(&state_->sha, reinterpret_cast<const unsigned char *>(piece.constData()),
                              static_cast<unsigned long long>(piece.size()));
}

QByteArray Sha256Stream::hexResult()
{
    QByteArray digest(crypto_hash_sha256_BYTES, Qt::Uninitialized);
    crypto_hash_sha256_final(&state_->sha, reinterpret_cast<unsigned char *>(digest.data()));
    return digest.toHex();
}
#else
struct Sha256Stream::State
{
    QCryptographicHash sha{QCryptographicHash::Sha256};
};

Sha256Stream::Sha256Stream()
    : state_(std::make_unique<State>())
{
}

void Sha256Stream::addData(const QByteArray &piece)
{
    state_->sha.addData(piece);
}

QByteArray Sha256Stream::hexResult()
{
    return state_->sha.result().toHex();
}
#endif

Sha256Stream::~Sha256Stream() = default;
