#pragma once
// A byte block that starts zero-filled. Large blocks come from calloc as fresh zero pages, so a
// picture the size of a big Surface costs nothing until it is drawn into.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace korvel {

class ZeroBuffer {
public:
    // False (and the buffer empty) when the memory cannot be had.
    bool Allocate(size_t bytes) {
        Block.reset(bytes ? static_cast<uint8_t*>(std::calloc(bytes, 1)) : nullptr);
        Size = Block ? bytes : 0;
        return Block != nullptr || bytes == 0;
    }
    void Release() {
        Block.reset();
        Size = 0;
    }

    uint8_t* data() { return Block.get(); }
    const uint8_t* data() const { return Block.get(); }
    size_t size() const { return Size; }
    bool empty() const { return Size == 0; }

private:
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<uint8_t, Free> Block;
    size_t Size = 0;
};

} // namespace korvel
