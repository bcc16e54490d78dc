#pragma once

#include <QByteArray>
#include <QByteArrayView>

struct evp_md_ctx_st;

// SHA-256 of a stream of bytes, through libcrypto (which uses the processor's SHA instructions).
class TSha256 {
public:
    TSha256();
    ~TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Add(QByteArrayView bytes);
    // The digest as 64 lower-case hexadecimal digits; starts a new digest afterwards.
    QByteArray HexResult();

private:
    evp_md_ctx_st* m_context;
};
