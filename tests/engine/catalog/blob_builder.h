// Builds property blobs (MSysObjects.LvProp) byte by byte for tests: the
// signature, a name pool, then one value block per item.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace blobtest {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::size_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::size_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void patch32(Bytes& b, std::size_t at, std::size_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Text as the blob stores it: UCS-2 for Jet 4, single bytes for Jet 3.
inline Bytes stored(const std::string& ascii, bool unicode) {
    Bytes out;
    for (char c : ascii) {
        out.push_back(static_cast<std::uint8_t>(c));
        if (unicode) out.push_back(0);
    }
    return out;
}

struct Entry {
    int nameIndex;
    int type;
    Bytes value;
    bool ddl = false;
};

// Builds a blob: signature, name pool, then one value block per item.
class BlobBuilder {
public:
    explicit BlobBuilder(bool unicode) : unicode_(unicode) {
        const char* signature = unicode ? "MR2" : "KKD";
        blob_.assign(signature, signature + 3);
        blob_.push_back(0);
    }

    BlobBuilder& names(const std::vector<std::string>& names) {
        std::size_t start = chunk(0x80);
        for (const auto& n : names) {
            Bytes s = stored(n, unicode_);
            put16(blob_, s.size());
            blob_.insert(blob_.end(), s.begin(), s.end());
        }
        patch32(blob_, start, blob_.size() - start);
        return *this;
    }

    BlobBuilder& block(const std::string& objectName, const std::vector<Entry>& entries, int chunkType = 0) {
        std::size_t start = chunk(chunkType);
        Bytes name = stored(objectName, unicode_);
        put32(blob_, 6 + name.size());
        put16(blob_, name.size());
        blob_.insert(blob_.end(), name.begin(), name.end());
        for (const auto& e : entries) {
            put16(blob_, 8 + e.value.size());
            blob_.push_back(e.ddl ? 1 : 0);
            blob_.push_back(static_cast<std::uint8_t>(e.type));
            put16(blob_, static_cast<std::size_t>(e.nameIndex));
            put16(blob_, e.value.size());
            blob_.insert(blob_.end(), e.value.begin(), e.value.end());
        }
        patch32(blob_, start, blob_.size() - start);
        return *this;
    }

    Bytes bytes() const { return blob_; }

private:
    std::size_t chunk(int type) {
        std::size_t start = blob_.size();
        put32(blob_, 0);
        put16(blob_, static_cast<std::size_t>(type));
        return start;
    }
    bool unicode_;
    Bytes blob_;
};

}  // namespace blobtest
