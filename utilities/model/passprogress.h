#pragma once
// How a long pass over the address file reports its progress and learns that it should stop.

#include <QtGlobal>

#include <functional>

namespace postavo {

struct PassProgress {
    quint64 done = 0;   // records handled so far
    quint64 total = 0;  // records the pass expects to handle
    quint64 found = 0;  // records (or pairs) found or changed so far
};

// Called every kStepInterval records and once at the end; returning false stops the pass after
// the current record (the user cancelled). An empty step never stops.
using PassStep = std::function<bool(const PassProgress&)>;

// A window lets its events run this often: often enough for Cancel to answer at once, seldom
// enough that the pass is not slowed down.
inline constexpr quint32 kStepInterval = 1024;

// The bar position: done / total * 100 cut to a whole number, or -1 where the bar is left as it
// is (a position of 0 or 100 and above is not set while the pass runs).
int progressBarPosition(quint64 done, quint64 total);

// Calls `step` when `done` reaches the next interval; false once it asked to stop.
inline bool stepDue(quint64 done) { return done % kStepInterval == 0; }

} // namespace postavo
