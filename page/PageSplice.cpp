#include "page/PageSplice.h"

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

constexpr size_t kCopyBufferSize = size_t{1} << 20;

class SpliceCopier {
  public:
    SpliceCopier(FILE* source, FILE* out)
        : m_source(source), m_out(out), m_buffer(new char[kCopyBufferSize]) {}

    // Reads the source up to offset `until` (to its end when `until` is
    // UINT64_MAX), copying what it reads to the output when `copy` is set.
    // The last `holdBack` bytes copied are held back, not yet written.
    bool PassTo(uint64_t until, bool copy, size_t holdBack = 0) {
        while (m_at < until) {
            const auto want =
                static_cast<size_t>(std::min<uint64_t>(until - m_at, kCopyBufferSize));
            const size_t got = std::fread(m_buffer.get(), 1, want, m_source);
            if (copy && !Copy(m_buffer.get(), got, holdBack)) return false;
            m_at += got;
            if (got == want) continue;
            if (std::ferror(m_source) != 0) return ReadFailed();
            if (until == UINT64_MAX) return true;
            m_readError = EIO;  // the page ended early: it is no longer what was read
            return false;
        }
        return true;
    }

    bool Insert(const PageSplice& splice) {
        const std::string& lineEnd = splice.lineEnd;
        if (AtLineStart(lineEnd)) {
            return Write(splice.bytes.data(), splice.bytes.size()) &&
                   Write(lineEnd.data(), lineEnd.size());
        }
        return Write(lineEnd.data(), lineEnd.size()) &&
               Write(splice.bytes.data(), splice.bytes.size());
    }

    // After a removal: the held-back bytes before it and the bytes after it
    // are written, less one line end (see PageSplice::lineEnd).
    bool JoinLines(const std::string& lineEnd) {
        std::string next(lineEnd.size(), '\0');
        const size_t got = std::fread(next.data(), 1, next.size(), m_source);
        if (got < next.size() && std::ferror(m_source) != 0) return ReadFailed();
        m_at += got;
        next.resize(got);
        const std::string held = std::move(m_held);
        m_held.clear();
        const bool heldEnds = held == lineEnd || (held.empty() && m_written == 0);
        if (heldEnds && next == lineEnd) return Write(held.data(), held.size());
        if (held == lineEnd) return Write(next.data(), next.size());
        return Write(held.data(), held.size()) && Write(next.data(), next.size());
    }

    int ReadError() const { return m_readError; }

  private:
    bool ReadFailed() {
        m_readError = errno != 0 ? errno : EIO;
        return false;
    }

    // Copies `size` bytes to the output, holding back the last `holdBack`
    // bytes of all that was copied.
    bool Copy(const char* bytes, size_t size, size_t holdBack) {
        if (holdBack == 0) return Write(bytes, size);
        m_held.append(bytes, size);
        if (m_held.size() <= holdBack) return true;
        const size_t out = m_held.size() - holdBack;
        const bool written = Write(m_held.data(), out);
        m_held.erase(0, out);
        return written;
    }

    // Whether what was written so far is nothing or ends with `lineEnd`.
    bool AtLineStart(const std::string& lineEnd) const {
        if (m_written == 0 || lineEnd.empty()) return true;
        return m_tail.size() >= lineEnd.size() &&
               m_tail.compare(m_tail.size() - lineEnd.size(), lineEnd.size(), lineEnd) == 0;
    }

    // Writes to the output, keeping its last few bytes for AtLineStart.
    bool Write(const char* bytes, size_t size) {
        if (size == 0) return true;
        if (std::fwrite(bytes, 1, size, m_out) != size) return false;
        m_written += size;
        const size_t keep = std::min(size, kTailSize);
        m_tail.append(bytes + size - keep, keep);
        if (m_tail.size() > kTailSize) m_tail.erase(0, m_tail.size() - kTailSize);
        return true;
    }

    static constexpr size_t kTailSize = 8;

    FILE* m_source;
    FILE* m_out;
    std::unique_ptr<char[]> m_buffer;
    uint64_t m_at = 0;
    uint64_t m_written = 0;
    std::string m_tail;  // the last bytes written
    std::string m_held;  // bytes copied but held back before a removal
    int m_readError = 0;
};

bool Apply(SpliceCopier& copier, const PageSplice& splice) {
    const bool removal = splice.bytes.empty();
    const size_t holdBack = removal ? splice.lineEnd.size() : 0;
    if (!copier.PassTo(splice.range.begin, true, holdBack)) return false;
    if (!removal && !copier.Insert(splice)) return false;
    if (!copier.PassTo(splice.range.end, false)) return false;
    return !removal || splice.lineEnd.empty() || copier.JoinLines(splice.lineEnd);
}

}  // namespace

bool CopyWithSplices(FILE* source, FILE* out, const std::vector<PageSplice>& splices,
                     int* readError) {
    SpliceCopier copier(source, out);
    bool ok = true;
    for (const PageSplice& splice : splices) {
        ok = Apply(copier, splice);
        if (!ok) break;
    }
    ok = ok && copier.PassTo(UINT64_MAX, true);
    *readError = copier.ReadError();
    return ok && std::ferror(out) == 0;
}
