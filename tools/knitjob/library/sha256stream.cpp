#include "sha256stream.h"

#ifdef KNIT_HAVE_LIBCRYPTO
#include <openssl/evp.h>
#else
#include <QCryptographicHash>
#endif

#ifdef KNIT_HAVE_LIBCRYPTO
struct Sha256Stream::State
{
    ~State() { EVP_MD_CTX_free(context); }
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    bool ok = context != nullptr && EVP_DigestInit_ex(context, EVP_sha256(), nullptr) == 1;
};

Sha256Stream::Sha256Stream()
    : state_(std::make_unique<State>())
{
}

void Sha256Stream::addData(const QByteArray &piece)
{
    state_->ok = state_->ok && EVP_DigestUpdate(state_->context, piece.constData(), std::size_t(piece.size())) == 1;
}

QByteArray Sha256Stream::hexResult()
{
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    // A digest that could not be taken matches no listed one.
    if (!state_->ok || EVP_DigestFinal_ex(state_->context, reinterpret_cast<unsigned char *>(digest.data()), &length) != 1)
        return QByteArray();
    digest.truncate(int(length));
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
