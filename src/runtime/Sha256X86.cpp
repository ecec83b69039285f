// SHA-256 on the SHA extensions of x86 processors (2016 onwards): the state is kept as the
// instructions want it, ABEF and CDGH, and each instruction does two rounds.
#include "runtime/Sha256.h"

#include <QCryptographicHash>
#include <QtEndian>

#include <cstring>

#include <cpuid.h>
#include <immintrin.h>

namespace {

alignas(16) constexpr quint32 Rounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5, 0xd807aa98, 0x12835b01,
    0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc,
    0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147,
    0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116, 0x1e376c08,
    0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3, 0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208,
    0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

__attribute__((target("sha,sse4.1"))) void compress(quint32 state[8], const uchar *blocks, qsizetype count)
{
    const __m128i bigEndian = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state)), 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(dcba, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, dcba, 0xF0);
    for (const uchar *block = blocks; block != blocks + 64 * count; block += 64) {
        const __m128i abefBefore = abef, cdghBefore = cdgh;
        __m128i words[4];   // the message schedule, four words at a time
        for (int i = 0; i < 4; ++i)
            words[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(block + 16 * i)), bigEndian);
        for (int group = 0; group < 16; ++group) {
            __m128i &w = words[group % 4];
            if (group > 3) {
                const __m128i &last = words[(group + 3) % 4];
                w = _mm_sha256msg1_epu32(w, words[(group + 1) % 4]);
                w = _mm_sha256msg2_epu32(_mm_add_epi32(w, _mm_alignr_epi8(last, words[(group + 2) % 4], 4)), last);
            }
            const __m128i k = _mm_add_epi32(w, _mm_load_si128(reinterpret_cast<const __m128i *>(Rounds + 4 * group)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

QByteArray digestOf(QByteArrayView bytes)
{
    quint32 state[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype whole = bytes.size() / 64, rest = bytes.size() % 64;
    compress(state, data, whole);
    // The padding: a one bit, zeros, and the length in bits, in one block or two.
    uchar last[128] = {};
    std::memcpy(last, data + 64 * whole, size_t(rest));
    last[rest] = 0x80;
    const qsizetype blocks = rest < 56 ? 1 : 2;
    qToBigEndian(quint64(bytes.size()) * 8, last + 64 * blocks - 8);
    compress(state, last, blocks);
    QByteArray digest(32, Qt::Uninitialized);
    qToBigEndian<quint32>(state, 8, digest.data());
    return digest;
}

// Asked of the processor itself: every compiler has cpuid.h, not every one knows "sha" as a feature name.
bool hasShaInstructions()
{
    unsigned int a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSE4_1) || !(c & bit_SSSE3))
        return false;
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & (1u << 29));
}

} // namespace

QByteArray Sha256::of(QByteArrayView bytes)
{
    static const bool sha = hasShaInstructions();
    return sha ? digestOf(bytes) : QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}
