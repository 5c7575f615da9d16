#pragma once
#include "integerbase.h"
#include "valuesource.h"

namespace GenApi
{

// The Integer node: a value from a variable, another node or an index table,
// with limits given as constants or by other nodes.
class tcInteger : public tcIntegerBase
{
public:
    using tcIntegerBase::tcIntegerBase;
    void finishLoad() override { mcSource.finish(*this); }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcSource.accessMode(); }
    int64_t readValue(bool abVerify, bool abIgnoreCache) override
    {
        return mcSource.read(abVerify, abIgnoreCache);
    }
    void writeValue(int64_t anValue, bool abVerify) override { mcSource.write(anValue, abVerify); }
    bool valueAfterWrite(int64_t anWritten, int64_t& arValue) override
    {
        arValue = anWritten;
        return mcSource.isFloating();
    }
    int64_t naturalMin() override;
    int64_t naturalMax() override;
    int64_t naturalInc() override;
    tcNode* valueSource() const override { return mcSource.node(); }

private:
    tcValueSource<int64_t> mcSource;
    tcIntRef mcMin;
    tcIntRef mcMax;
    tcIntRef mcInc;
};

} // namespace GenApi
