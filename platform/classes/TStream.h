// TStream: the abstract byte stream (read, write, seek) with the all-or-nothing buffer calls and copying.
#pragma once

#include "platform/classes/Errors.h"
#include "platform/classes/TObject.h"

#include <cstdint>
#include <cstring>

namespace korvex::classes {

using os::TSeekOrigin;

class TStream : public TObject {
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // The bytes moved (Read: fewer at the end); never raises for a short count.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // The new position, or -1 when the stream cannot seek there.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t value) { Seek(value, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize);   // raises EStreamError where a stream cannot be resized

    // All or nothing: raise os::EReadError "Stream read error" / os::EWriteError "Stream write error".
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from source's position; count 0 copies the whole source from its start.
    // Returns the bytes copied; raises like ReadBuffer/WriteBuffer when fewer can be moved.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A write into the bytes of a stream held in memory (a vector or a string): grows them to take count bytes at
// position and moves position past them. Returns the bytes written.
template <class Bytes>
std::int64_t WriteIntoBytes(Bytes& data, std::int64_t& position, const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const std::int64_t end = position + count;
    if (end > static_cast<std::int64_t>(data.size())) data.resize(static_cast<std::size_t>(end));
    std::memcpy(data.data() + position, buffer, static_cast<std::size_t>(count));
    position = end;
    return count;
}

}
