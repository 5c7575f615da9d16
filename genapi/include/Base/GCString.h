#pragma once
#include <Base/GCTypes.h>

#include <ostream>
#include <string>

namespace GenICam
{

// Text passed across the node-map interfaces: 8-bit characters, converts to
// and from plain C strings so that callers can hand it to any toolkit.
class gcstring
{
public:
    static const size_t _npos = static_cast<size_t>(-1);
    static const size_t npos = static_cast<size_t>(-1);

    gcstring() = default;
    gcstring(const char* apText) : msText(apText ? apText : "") {}
    gcstring(const char* apText, size_t anCount)
        : msText(apText ? std::string(apText, anCount) : std::string())
    {
    }
    gcstring(size_t anCount, char acFill) : msText(anCount, acFill) {}
    gcstring(const std::string& arText) : msText(arText) {}
    gcstring(std::string&& arText) : msText(std::move(arText)) {}

    const char* c_str() const noexcept { return msText.c_str(); }
    size_t size() const noexcept { return msText.size(); }
    size_t length() const noexcept { return msText.size(); }
    bool empty() const noexcept { return msText.empty(); }
    void clear() noexcept { msText.clear(); }
    operator const char*() const noexcept { return msText.c_str(); }
    const std::string& str() const noexcept { return msText; }

    char operator[](size_t anIndex) const { return msText[anIndex]; }
    char& operator[](size_t anIndex) { return msText[anIndex]; }

    gcstring& operator+=(const gcstring& arOther)
    {
        msText += arOther.msText;
        return *this;
    }
    gcstring& operator+=(const char* apOther)
    {
        msText += apOther ? apOther : "";
        return *this;
    }
    gcstring& operator+=(char acChar)
    {
        msText += acChar;
        return *this;
    }

    gcstring& append(const gcstring& arOther) { return *this += arOther; }
    gcstring& assign(const char* apText) { return *this = gcstring(apText); }

    int compare(const gcstring& arOther) const noexcept { return msText.compare(arOther.msText); }
    size_t find(const gcstring& arWhat, size_t anPos = 0) const noexcept
    {
        return msText.find(arWhat.msText, anPos);
    }
    size_t find(char acWhat, size_t anPos = 0) const noexcept { return msText.find(acWhat, anPos); }
    size_t rfind(char acWhat, size_t anPos = npos) const noexcept { return msText.rfind(acWhat, anPos); }
    size_t find_first_of(const gcstring& arSet, size_t anPos = 0) const noexcept
    {
        return msText.find_first_of(arSet.msText, anPos);
    }
    gcstring substr(size_t anPos = 0, size_t anCount = npos) const
    {
        return gcstring(msText.substr(anPos, anCount));
    }

    friend bool operator==(const gcstring& arA, const gcstring& arB) noexcept
    {
        return arA.msText == arB.msText;
    }
    friend bool operator==(const gcstring& arA, const char* apB) noexcept
    {
        return arA.msText == (apB ? apB : "");
    }
    friend bool operator==(const char* apA, const gcstring& arB) noexcept { return arB == apA; }
    friend bool operator!=(const gcstring& arA, const gcstring& arB) noexcept { return !(arA == arB); }
    friend bool operator!=(const gcstring& arA, const char* apB) noexcept { return !(arA == apB); }
    friend bool operator!=(const char* apA, const gcstring& arB) noexcept { return !(arB == apA); }
    friend bool operator<(const gcstring& arA, const gcstring& arB) noexcept
    {
        return arA.msText < arB.msText;
    }
    friend bool operator>(const gcstring& arA, const gcstring& arB) noexcept
    {
        return arA.msText > arB.msText;
    }

    friend gcstring operator+(const gcstring& arA, const gcstring& arB)
    {
        return gcstring(arA.msText + arB.msText);
    }
    friend gcstring operator+(const gcstring& arA, const char* apB)
    {
        return gcstring(arA.msText + (apB ? apB : ""));
    }
    friend gcstring operator+(const char* apA, const gcstring& arB)
    {
        return gcstring(std::string(apA ? apA : "") + arB.msText);
    }

    friend std::ostream& operator<<(std::ostream& arStream, const gcstring& arText)
    {
        return arStream << arText.msText;
    }

private:
    std::string msText;
};

} // namespace GenICam
