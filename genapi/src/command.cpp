#include "command.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

bool tcCommand::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (is("Value") || is("pValue"))
        mcValue.parse(*this, apName, arElement, arLinker);
    else if (is("CommandValue") || is("pCommandValue"))
        mcCommandValue.parse(*this, apName, arElement, arLinker);
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

void tcCommand::finishLoad()
{
    if (!mcValue.isSet())
        KX_FAIL(RuntimeException, "Command has neither <Value> nor <pValue>");
    if (!mcCommandValue.isSet())
        KX_FAIL(RuntimeException, "Command has neither <CommandValue> nor <pCommandValue>");
}

EAccessMode tcCommand::naturalAccessMode()
{
    EAccessMode eMode = mcValue.node() ? mcValue.node()->accessMode() : RW;
    if (tcNode* pCommandValue = mcCommandValue.node())
    {
        const EAccessMode eGuard = pCommandValue->accessMode();
        if (eGuard == NI)
            return NI;
        if (!IsReadable(eGuard))
            eMode = Combine(eMode, NA);
    }
    return eMode;
}

void tcCommand::execute(bool abVerify)
{
    tcChangeScope cScope(mrMap);
    requireWritable("Node is not writable.");
    // A write-only command cannot be asked whether it has finished: it is
    // done at once and never polled.
    const bool bReadable = readable();
    const int64_t nCommand = mcCommandValue.get();
    if (mcValue.node())
    {
        mcValue.set(nCommand, abVerify);
        mbExecuting = bReadable;
    }
    else
        mcValue.setConstant(nCommand);
    invalidateCache();
    changed();
    if (abVerify)
        checkDeviceError();
}

bool tcCommand::isDone()
{
    if (!mbExecuting)
        return true;
    tcNode* pValue = mcValue.node();
    if (!pValue || !readable())
    {
        mbExecuting = false;
        return true;
    }
    // Ask the device itself; a cached value would never change.
    const bool bDone = pValue->getInt(false, true) != mcCommandValue.get();
    if (bDone)
    {
        // Finishing is a change of the command's register: what it
        // invalidates (UserSetLoad rewrites settings) is read afresh.
        tcChangeScope cScope(mrMap);
        mbExecuting = false;
        invalidateCache();
        mrMap.noteChanged(this, false);
        mrMap.noteChanged(pValue, pValue->cacheValid());
    }
    return bDone;
}

void tcCommand::Execute(bool Verify)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    execute(Verify);
}

bool tcCommand::IsDone(bool)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    if (accessMode() == NI)
        KX_FAIL(AccessException, "Node is not implemented.");
    return isDone();
}

gcstring tcCommand::ToString(bool, bool)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    if (accessMode() == NI)
        KX_FAIL(AccessException, "Node is not implemented.");
    return isDone() ? "0" : "1";
}

void tcCommand::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    if (!IsAvailable(accessMode()))
        KX_FAIL(AccessException, "Node is not available");
    const std::string sText = ValueStr.c_str();
    if (sText != "1" && sText != "true")
        KX_FAIL(InvalidArgumentException, "Node '%s' : cannot execute with '%s'; only '1' or 'true' can.",
                msName.c_str(), sText.c_str());
    execute(Verify);
}

} // namespace GenApi
