// TStrings: the behaviour every string list shares: objects, names and values, text forms, files and streaming.
#include "platform/classes/TStrings.h"

#include "platform/base/Assert.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TFileStream.h"
#include "platform/classes/TReader.h"
#include "platform/classes/TWriter.h"

namespace korvex::classes {

namespace {

// The run time's blank test for delimited text: every byte from 1 to ' '.
// Control bytes and the blank separate items outside quotes; a zero byte is one of them.
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

class TUpdateGuard {
public:
    explicit TUpdateGuard(TStrings& strings)
        : FStrings(strings) {
        FStrings.BeginUpdate();
    }
    ~TUpdateGuard() { FStrings.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TStrings& FStrings;
};

}

TStrings::~TStrings() = default;

TClass TStrings::StaticClass() {
    static const TClassInfo info = MakeClass<TStrings, TPersistent>("TStrings");
    return &info;
}

void TStrings::Put(int index, const std::string& s) {
    TObject* obj = GetObject(index);
    TUpdateGuard guard(*this);
    Delete(index);
    InsertObject(index, s, obj);
}

TObject* TStrings::GetObject(int) const {
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {
}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
    int index = Add(s);
    PutObject(index, obj);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
    Insert(index, s);
    PutObject(index, obj);
}

void TStrings::Exchange(int index1, int index2) {
    TUpdateGuard guard(*this);
    std::string s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    TUpdateGuard guard(*this);
    std::string s = Get(curIndex);
    TObject* obj = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, obj);
}

void TStrings::AddStrings(const TStrings& strings) {
    TUpdateGuard guard(*this);
    for (int i = 0; i < strings.Count(); ++i)
        AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TStrings*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    TUpdateGuard guard(*this);
    Clear();
    FNameValueSeparator = other->FNameValueSeparator;
    FDelimiter = other->FDelimiter;
    FQuoteChar = other->FQuoteChar;
    FStrictDelimiter = other->FStrictDelimiter;
    AddStrings(*other);
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        std::string s = Get(i);
        std::size_t p = s.find(FNameValueSeparator);
        if (p != std::string::npos && CompareStrings(s.substr(0, p), name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == obj) return i;
    return -1;
}

std::string TStrings::Names(int index) const {
    std::string s = Get(index);
    std::size_t p = s.find(FNameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string s = Get(index);
    std::size_t p = s.find(FNameValueSeparator);
    return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int index, const std::string& value) {
    if (!value.empty()) {
        if (index < 0) index = Add(std::string());
        Put(index, Names(index) + FNameValueSeparator + value);
    } else if (index >= 0) {
        Delete(index);
    }
}

std::string TStrings::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i >= 0 ? ValueFromIndex(i) : std::string();
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (!value.empty()) {
        if (i < 0)
            Add(name + FNameValueSeparator + value);
        else
            Put(i, name + FNameValueSeparator + value);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::Text() const {
    std::string result;
    for (int i = 0; i < Count(); ++i) {
        result += Get(i);
        result += FLineBreak;
    }
    return result;
}

void TStrings::SetText(const std::string& value) {
    TUpdateGuard guard(*this);
    Clear();
    std::size_t start = 0;
    const std::size_t n = value.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && value[end] != '\r' && value[end] != '\n')
            ++end;
        Add(value.substr(start, end - start));
        if (end < n && value[end] == '\r') ++end;
        if (end < n && value[end] == '\n') ++end;
        start = end;
    }
}

std::string TStrings::DelimitedText() const {
    if (Count() == 1 && Get(0).empty()) return std::string(2, FQuoteChar);
    std::string result;
    for (int i = 0; i < Count(); ++i) {
        std::string s = Get(i);
        bool quote = false;
        for (char c : s)
            if (c == FQuoteChar || c == FDelimiter || (!FStrictDelimiter && static_cast<unsigned char>(c) <= ' ')
                || c == '\0') {
                quote = true;
                break;
            }
        if (quote) {
            std::string q(1, FQuoteChar);
            for (char c : s) {
                q += c;
                if (c == FQuoteChar) q += c;
            }
            q += FQuoteChar;
            s = std::move(q);
        }
        if (i > 0) result += FDelimiter;
        result += s;
    }
    return result;
}

void TStrings::SetDelimitedText(const std::string& value) {
    TUpdateGuard guard(*this);
    Clear();
    const std::size_t n = value.size();
    std::size_t p = 0;
    auto skipBlanks = [&] {
        if (!FStrictDelimiter)
            while (p < n && IsBlank(value[p]))
                ++p;
    };
    skipBlanks();
    while (p < n) {
        const std::size_t itemStart = p;
        std::string s;
        if (value[p] == FQuoteChar) {
            ++p;
            while (p < n) {
                if (value[p] == FQuoteChar) {
                    if (p + 1 < n && value[p + 1] == FQuoteChar) {
                        s += FQuoteChar;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                s += value[p++];
            }
        } else {
            std::size_t start = p;
            while (p < n && value[p] != FDelimiter && (FStrictDelimiter || !IsBlank(value[p])))
                ++p;
            s = value.substr(start, p - start);
        }
        Add(s);
        skipBlanks();
        if (p < n && value[p] == FDelimiter) {
            if (p + 1 == n) Add(std::string());
            ++p;
            skipBlanks();
        }
        KORVEX_ASSERT(p > itemStart);   // every item takes a byte at least, its delimiter if nothing else
    }
}

std::string TStrings::CommaText() const {
    auto& self = const_cast<TStrings&>(*this);
    base::ValueRollback<char> delimiter(self.FDelimiter, ',');
    base::ValueRollback<char> quote(self.FQuoteChar, '"');
    base::ValueRollback<bool> strict(self.FStrictDelimiter, false);
    return DelimitedText();
}

void TStrings::SetCommaText(const std::string& value) {
    base::ValueRollback<char> delimiter(FDelimiter, ',');
    base::ValueRollback<char> quote(FQuoteChar, '"');
    base::ValueRollback<bool> strict(FStrictDelimiter, false);
    SetDelimitedText(value);
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
    std::int64_t size = stream.Size() - stream.Position();
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        text.resize(static_cast<std::size_t>(stream.Read(text.data(), size)));
    }
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
    std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {
}

int TStrings::CompareStrings(const std::string& s1, const std::string& s2) const {
    return base::AnsiCompareText(s1, s2);
}

void TStrings::Error(const std::string& message, int index) const {
    throw EListError(message + " (" + std::to_string(index) + ")");
}

void TStrings::DefineProperties(TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineProperty(
        "Strings",
        [this](TReader& reader) {
            reader.ReadListBegin();
            TUpdateGuard guard(*this);
            Clear();
            while (!reader.EndOfList())
                Add(reader.ReadString());
            reader.ReadListEnd();
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            for (int i = 0; i < Count(); ++i)
                writer.WriteString(Get(i));
            writer.WriteListEnd();
        },
        Count() > 0);
}

}
