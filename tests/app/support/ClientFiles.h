// Client files as a Folding@home console client writes them, built line by line for the tests.
#pragma once

#include <string>
#include <vector>

namespace korvex::app::test {

// The parts appended one after the other (literals and numbers' texts without temporaries in between).
template <class... T>
std::string Cat(const T&... parts) {
    std::string text;
    ((text += parts), ...);
    return text;
}

// A client log: every line gets the "[hh:mm:ss] " stamp of the log's clock, which only moves forward.
class TClientLog {
public:
    explicit TClientLog(const std::string& startTime = "20:10:09");

    TClientLog& Advance(int seconds);   // moves the clock (wrapping at midnight as the client's does)
    TClientLog& Line(const std::string& text);   // one stamped line
    TClientLog& Raw(const std::string& text);   // one line without a stamp

    // The banner and settings lines a client writes when it starts; the queue line is optional.
    TClientLog& ClientStart(
        bool queueLoaded = true, const std::string& user = "Tellvar", const std::string& team = "12345");
    // A unit of a step-counting core up to `percent`, one percent every `secondsPerPercent`.
    TClientLog& StepUnit(const std::string& protein, const std::string& download, int run, int clone, int gen,
        int percent, int secondsPerPercent);
    // A unit of a frame-counting core up to `frames` finished frames of `totalFrames`.
    TClientLog& FrameUnit(const std::string& protein, const std::string& download, int run, int clone, int gen,
        int frames, int totalFrames, int secondsPerFrame);
    // The end of a unit and the upload of its results.
    TClientLog& FinishAndSend(const std::string& sendDate);

    const std::vector<std::string>& Lines() const { return FLines; }
    std::string Text() const;   // CR LF line ends, as the client writes them
    std::string Stamp() const;   // "hh:mm:ss" of the clock

private:
    int FSeconds = 0;
    std::vector<std::string> FLines;
};

// unitinfo.txt: the header, then the name, download, due and progress lines (any of them may be left out).
std::vector<std::string> UnitInfo(
    const std::string& name, const std::string& download, const std::string& due, int progress);

// Writes text to a file (folders created); throws on failure.
void WriteFile(const std::string& path, const std::string& text);
std::string ReadFileText(const std::string& path);   // "" when missing
int Occurrences(const std::string& text, const std::string& part);   // how often `part` occurs in `text`
std::string JoinLines(const std::vector<std::string>& lines);   // CR LF after each line

// A fresh temporary folder removed with the object.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

}
