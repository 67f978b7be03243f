#include "base/ZString.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

ByteBuffer::ByteBuffer()
    : capacity_(16), length_(0), data_(static_cast<unsigned char*>(std::malloc(capacity_ + 1))) {
    data_[0] = 0;
}

ByteBuffer::~ByteBuffer() {
    std::free(data_);
}

void ByteBuffer::append(const void* bytes, int count) {
    if (!bytes)
        return;
    if (count < 0)
        count = static_cast<int>(std::strlen(static_cast<const char*>(bytes)));
    const int needed = length_ + count;
    if (needed > capacity_) {
        const int capacity = std::max({2 * length_ + 2, needed, 16});
        auto* grown = static_cast<unsigned char*>(std::malloc(capacity + 1));
        std::memcpy(grown, data_, length_);
        // The bytes may lie in the old buffer, so it goes only after they are copied.
        std::memcpy(grown + length_, bytes, count);
        std::free(data_);
        data_ = grown;
        capacity_ = capacity;
    } else {
        std::memmove(data_ + length_, bytes, count);
    }
    length_ = needed;
}

const char* ByteBuffer::text() {
    data_[length_] = 0;
    return reinterpret_cast<const char*>(data_);
}
