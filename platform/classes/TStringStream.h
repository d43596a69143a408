// TStringStream: a stream over a std::string, for reading text as a stream and collecting written bytes.
#pragma once

#include "platform/classes/TStream.h"

#include <string>

namespace korvex::classes {

class TStringStream : public TStream {
public:
    explicit TStringStream(std::string data = {});
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;   // overwrites, grows at the end
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;   // clamped to 0..Size
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    void SetSize(std::int64_t newSize) override;

    const std::string& DataString() const { return FData; }
    std::string ReadString(std::int64_t count);   // up to count bytes from the position
    void WriteString(const std::string& s);

private:
    std::string FData;
    std::int64_t FPosition = 0;
};

}
