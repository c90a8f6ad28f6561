#include "midi/banktransfer.h"

// Placeholder bodies until the engine is in.

struct BankTransfer::Private
{
    Pacing pacing;
};

BankTransfer::BankTransfer(EditState &, SysexProtocol &, QObject *parent)
    : QObject(parent), d_(new Private)
{
}

BankTransfer::~BankTransfer()
{
    delete d_;
}

void BankTransfer::setPacing(const Pacing &pacing)
{
    d_->pacing = pacing;
}

BankTransfer::Pacing BankTransfer::pacing() const
{
    return d_->pacing;
}

void BankTransfer::fetch(bool, int, int, PatchBank *) {}

void BankTransfer::send(bool, const QList<int> &, const PatchBank &) {}

void BankTransfer::cancel() {}

bool BankTransfer::busy() const
{
    return false;
}

QList<int> BankTransfer::missingPlaces() const
{
    return {};
}

int BankTransfer::retriesUsed() const
{
    return 0;
}
