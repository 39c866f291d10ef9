#pragma once
// Builds a mirror (see sqlitemirror.h) with a reader that must not be trusted
// with the file it reads: libmdb for Jet databases, the record pass for .xls
// workbooks. A damaged or crafted file can make such a reader crash or loop.
// Where the platform has processes to spare (Unix) the read therefore runs in
// a child process, which builds the mirror and reports its result; a child
// that dies, or shows no progress for a while, gives the caller's message for
// a damaged file and leaves no mirror. Elsewhere the read runs in this process.
//
// Use:
//   return mirrorIsolated(sqlitePath, damagedText,
//                         [&](const QString& workPath, const Heartbeat& beat) {
//                             MirrorWriter writer(sqlitePath, workPath);
//                             ... read, write, call beat() as the work goes on ...
//                         });
// The reader builds the mirror at workPath (MirrorWriter's work path), so that
// what a killed child left there can be removed.

#include "platform/sqlitemirror.h"

#include <QString>

#include <functional>

namespace supplink {

// Called by a reader as its work goes on: each call counts as progress.
using Heartbeat = std::function<void()>;
using IsolatedMirrorRead = std::function<MirrorResult(const QString& workPath, const Heartbeat& beat)>;

MirrorResult mirrorIsolated(const QString& sqlitePath, const QString& damagedMessage,
                            const IsolatedMirrorRead& read);

// How long a child may go without progress before it counts as hung: 60
// seconds unless set (for tests; 0 restores the default).
void setIsolatedReadStallLimit(int milliseconds);

} // namespace supplink
