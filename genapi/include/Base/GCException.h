#pragma once
#include <Base/GCString.h>

#include <cstdarg>
#include <exception>
#include <string>

namespace GenICam
{

// Base of every error the node map raises. The description is the complete
// human-readable text; source file and line tell where it was raised.
class GenericException : public std::exception
{
public:
    GenericException(const char* apDescription, const char* apSourceFileName, unsigned int anSourceLine);
    GenericException(const char* apDescription, const char* apSourceFileName, unsigned int anSourceLine,
                     const char* apExceptionType);
    ~GenericException() noexcept override;

    virtual const char* GetDescription() const noexcept;
    virtual const char* GetSourceFileName() const noexcept;
    virtual unsigned int GetSourceLine() const noexcept;
    const char* what() const noexcept override;

protected:
    std::string msDescription;
    std::string msSourceFileName;
    std::string msWhat;
    unsigned int mnSourceLine = 0;

private:
    void assemble(const char* apExceptionType);
};

#define KX_DECLARE_GENICAM_EXCEPTION(Name)                                                                   \
    class Name : public GenericException                                                                     \
    {                                                                                                        \
    public:                                                                                                  \
        static const char* TypeName() noexcept { return #Name; }                                             \
        Name(const char* apDescription, const char* apSourceFileName, unsigned int anSourceLine)             \
            : GenericException(apDescription, apSourceFileName, anSourceLine, #Name)                         \
        {                                                                                                    \
        }                                                                                                    \
    };

KX_DECLARE_GENICAM_EXCEPTION(BadAllocException)
KX_DECLARE_GENICAM_EXCEPTION(InvalidArgumentException)
KX_DECLARE_GENICAM_EXCEPTION(OutOfRangeException)
KX_DECLARE_GENICAM_EXCEPTION(PropertyException)
KX_DECLARE_GENICAM_EXCEPTION(RuntimeException)
KX_DECLARE_GENICAM_EXCEPTION(LogicalErrorException)
KX_DECLARE_GENICAM_EXCEPTION(AccessException)
KX_DECLARE_GENICAM_EXCEPTION(TimeoutException)
KX_DECLARE_GENICAM_EXCEPTION(DynamicCastException)

#undef KX_DECLARE_GENICAM_EXCEPTION

// Formats the description printf-style and builds the exception, recording
// where it was raised. Used through the *_EXCEPTION macros below:
//   throw RUNTIME_EXCEPTION("cannot open '%s'", name.c_str());
template <class E> class ExceptionReporter
{
public:
    ExceptionReporter(const char* apSourceFileName, unsigned int anSourceLine)
        : mpSourceFileName(apSourceFileName), mnSourceLine(anSourceLine)
    {
    }

#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    E Report(const char* apFormat, ...) const
    {
        va_list cArgs;
        va_start(cArgs, apFormat);
        std::string cText = Format(apFormat, cArgs);
        va_end(cArgs);
        return E(cText.c_str(), mpSourceFileName, mnSourceLine);
    }

    E Report() const
    {
        return E("", mpSourceFileName, mnSourceLine);
    }
    E Report(const gcstring& arText) const
    {
        return E(arText.c_str(), mpSourceFileName, mnSourceLine);
    }

    static std::string Format(const char* apFormat, va_list aArgs);

private:
    const char* mpSourceFileName;
    unsigned int mnSourceLine;
};

std::string FormatExceptionText(const char* apFormat, va_list aArgs);

template <class E> std::string ExceptionReporter<E>::Format(const char* apFormat, va_list aArgs)
{
    return FormatExceptionText(apFormat, aArgs);
}

} // namespace GenICam

#define GENERIC_EXCEPTION GenICam::ExceptionReporter<GenICam::GenericException>(__FILE__, __LINE__).Report
#define BAD_ALLOC_EXCEPTION GenICam::ExceptionReporter<GenICam::BadAllocException>(__FILE__, __LINE__).Report
#define INVALID_ARGUMENT_EXCEPTION                                                                           \
    GenICam::ExceptionReporter<GenICam::InvalidArgumentException>(__FILE__, __LINE__).Report
#define OUT_OF_RANGE_EXCEPTION                                                                               \
    GenICam::ExceptionReporter<GenICam::OutOfRangeException>(__FILE__, __LINE__).Report
#define PROPERTY_EXCEPTION GenICam::ExceptionReporter<GenICam::PropertyException>(__FILE__, __LINE__).Report
#define RUNTIME_EXCEPTION GenICam::ExceptionReporter<GenICam::RuntimeException>(__FILE__, __LINE__).Report
#define LOGICAL_ERROR_EXCEPTION                                                                              \
    GenICam::ExceptionReporter<GenICam::LogicalErrorException>(__FILE__, __LINE__).Report
#define ACCESS_EXCEPTION GenICam::ExceptionReporter<GenICam::AccessException>(__FILE__, __LINE__).Report
#define TIMEOUT_EXCEPTION GenICam::ExceptionReporter<GenICam::TimeoutException>(__FILE__, __LINE__).Report
#define DYNAMICCAST_EXCEPTION                                                                                \
    GenICam::ExceptionReporter<GenICam::DynamicCastException>(__FILE__, __LINE__).Report
