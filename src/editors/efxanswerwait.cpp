#include "editors/efxanswerwait.h"

#include "midi/sysexprotocol.h"

#include <QTimer>

EfxAnswerWait::EfxAnswerWait(SysexProtocol &protocol, Block block, int offset)
    : protocol_(protocol), block_(block), offset_(offset)
{
    protocol_.addObserver(this);
}

EfxAnswerWait::~EfxAnswerWait()
{
    protocol_.removeObserver(this);
}

bool EfxAnswerWait::wait(int timeoutMs)
{
    if (arrived_)
        return true;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop_, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop_.exec(QEventLoop::ExcludeUserInputEvents);
    return arrived_;
}

void EfxAnswerWait::parsedIncoming(const ParseResult &result)
{
    const bool covers = result.offset <= offset_ && offset_ < result.offset + result.count;
    const bool ours = block_ == Block::PatchCommon
                          ? result.target == ParseResult::Target::Slot && result.slot == 0
                          : result.target == ParseResult::Target::Performance;
    if (result.stored() && ours && covers) {
        arrived_ = true;
        loop_.quit();
    }
}
