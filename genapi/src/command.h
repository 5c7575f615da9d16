#pragma once
#include "node.h"
#include "valueref.h"

#include <GenApi/ICommand.h>

namespace GenApi
{

// Command: executing writes the command value; the command is done once the
// device no longer reads back that value.
class tcCommand : public tcValueNode, public virtual ICommand
{
public:
    tcCommand(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfICommand) {}
    void finishLoad() override;

    void Execute(bool Verify = true) override;
    bool IsDone(bool Verify = true) override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    bool pollActive() override { return mbExecuting; }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override;

private:
    bool isDone();
    void execute(bool abVerify);

    tcIntRef mcValue;
    tcIntRef mcCommandValue;
    bool mbExecuting = false;
};

} // namespace GenApi
