// Internals shared by the files of the database layer. Not for use outside src/db.
#pragma once

#include <ibase.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tolvane::db::detail {

// Error with every line of the status vector, its sqlcode and its codes.
Error statusError(const ISC_STATUS* status);
// Throws that Error.
[[noreturn]] void throwStatus(const ISC_STATUS* status);

// Something that holds handles of a connection (a statement) and must drop
// them when the connection goes away first.
class HandleHolder {
public:
    virtual void connectionClosing() = 0;

protected:
    ~HandleHolder() = default;
};

// The state of one attachment, shared by the connection, its transaction and
// the queries bound to it, so that whichever is destroyed last finds out
// whether the others are still there.
struct DbState {
    isc_db_handle db = 0;
    int routeFd = -1;                         // the file a ":" path is attached through
    bool gone = false;                        // the Connection object was destroyed
    std::vector<isc_tr_handle*> transactions; // handles of live Transaction objects
    std::vector<HandleHolder*> holders;       // live queries

    void removeHolder(HandleHolder* h) {
        holders.erase(std::remove(holders.begin(), holders.end(), h), holders.end());
    }
    void removeTransaction(isc_tr_handle* t) {
        transactions.erase(std::remove(transactions.begin(), transactions.end(), t),
                           transactions.end());
    }
};

// Marks the upper halves of the AVX registers unused (vzeroupper) where the
// processor has AVX. Code elsewhere in the process (the text shaping of the
// window layer) can leave them marked in use, and the engine's SSE code then
// runs about half as fast again on recent processors, on every statement and
// blob read, until something clears them: called before each of those.
void clearUpperVectorState();

// Error text from the library may hold bytes of our own Shift-JIS text (a
// value, a name) or of a UTF-8 file path; hand the windows valid UTF-8.
std::string messageToUtf8(const std::string& raw);

}  // namespace tolvane::db::detail

#include "db/fb.h"

namespace tolvane::db {

struct Connection::Impl {
    std::shared_ptr<detail::DbState> state = std::make_shared<detail::DbState>();
};

}  // namespace tolvane::db
