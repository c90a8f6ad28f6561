#pragma once
// Waits, for a bounded time, until the answer to an effect request has been
// stored. Edits made before it is in would be overwritten in the image by the
// older bytes it carries, leaving the image and the synthesizer apart; so
// only events that are not the user's are handled meanwhile.

#include "midi/parseobserver.h"

#include <QEventLoop>

class SysexProtocol;

class EfxAnswerWait : public ParseObserver
{
public:
    enum class Block
    {
        PatchCommon,
        PerformanceCommon,
    };

    // Watches for a stored message that covers offset of block.
    EfxAnswerWait(SysexProtocol &protocol, Block block, int offset);
    ~EfxAnswerWait() override;
    EfxAnswerWait(const EfxAnswerWait &) = delete;
    EfxAnswerWait &operator=(const EfxAnswerWait &) = delete;

    // True when the answer came within the time.
    bool wait(int timeoutMs);

    void parsedIncoming(const ParseResult &result) override;

private:
    SysexProtocol &protocol_;
    Block block_;
    int offset_;
    bool arrived_ = false;
    QEventLoop loop_;
};
