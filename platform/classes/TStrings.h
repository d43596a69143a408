// TStrings: the abstract list of strings with attached objects, name=value pairs, text forms, files and streams.
#pragma once

#include "platform/classes/TPersistent.h"

#include <string>

namespace korvex::classes {

// Indexes are 0-based; a bad index raises EListError "List index out of bounds (<i>)".
// Comparisons (IndexOf, IndexOfName, Values) ignore case unless a descendant says otherwise.
class TStrings : public TPersistent {
public:
    ~TStrings() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // --- what a descendant provides
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);   // default: Delete + Insert, keeping the object
    virtual TObject* GetObject(int index) const;   // default nullptr
    virtual void PutObject(int index, TObject* obj);   // default: ignored
    virtual void Insert(int index, const std::string& s) = 0;   // index may equal Count
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;

    // --- the list
    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, const std::string& s) { Put(index, s); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* obj) { PutObject(index, obj); }
    virtual int Add(const std::string& s);   // the new index
    virtual int AddObject(const std::string& s, TObject* obj);
    void Append(const std::string& s) { Add(s); }
    void InsertObject(int index, const std::string& s, TObject* obj);
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    void AddStrings(const TStrings& strings);
    void Assign(const TPersistent* source) override;   // from another TStrings: strings and objects
    bool Equals(const TStrings& other) const;   // same strings in the same order (exact)

    virtual int IndexOf(const std::string& s) const;
    int IndexOfName(const std::string& name) const;
    int IndexOfObject(const TObject* obj) const;

    // --- name=value lines (the separator is NameValueSeparator, '=' by default)
    std::string Names(int index) const;   // text before the first separator; "" when there is none
    std::string ValueFromIndex(int index) const;   // text after the first separator
    void SetValueFromIndex(int index, const std::string& value);
    std::string Values(const std::string& name) const;   // "" when the name is missing
    void SetValues(const std::string& name, const std::string& value);   // "" deletes the line
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char value) { FNameValueSeparator = value; }

    // --- text forms
    // Text: every line followed by LineBreak. SetText splits at CR LF, LF or CR; a last line without a
    // break counts, an empty text gives no lines.
    virtual std::string Text() const;
    virtual void SetText(const std::string& value);
    const std::string& LineBreak() const { return FLineBreak; }   // "\r\n" by default
    void SetLineBreak(const std::string& value) { FLineBreak = value; }
    // Delimited form: items separated by Delimiter; items holding the delimiter, QuoteChar or a blank (unless
    // StrictDelimiter) are quoted, inner quotes doubled. Reading splits at the delimiter and (unless
    // StrictDelimiter) at blanks outside quotes. CommaText is the same with ',' and '"'.
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& value);
    std::string CommaText() const;
    void SetCommaText(const std::string& value);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char value) { FDelimiter = value; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char value) { FQuoteChar = value; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool value) { FStrictDelimiter = value; }

    // --- files and streams: the bytes as they are (UTF-8), lines as SetText splits them.
    // LoadFromFile raises os::EFOpenError; SaveToFile os::EFCreateError; both as Text.
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName) const;
    virtual void LoadFromStream(TStream& stream);   // from the position to the end
    virtual void SaveToStream(TStream& stream) const;

    // --- change batching: BeginUpdate / EndUpdate nest; SetUpdateState(true) at the first Begin and
    // SetUpdateState(false) at the last End.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Streams as the entry "Strings": a list of strings, Lines.Strings = ('one' 'two').
    void DefineProperties(TFiler& filer) override;

protected:
    virtual void SetUpdateState(bool updating);
    virtual int CompareStrings(const std::string& s1, const std::string& s2) const;   // without case
    [[noreturn]] void Error(const std::string& message, int index) const;

private:
    std::string FLineBreak = "\r\n";
    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
    int FUpdateCount = 0;
};

}
