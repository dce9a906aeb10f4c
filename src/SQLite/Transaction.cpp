#include "SQLite/Transaction.h"

#include <utility>

#include "SQLite/SQLiteConnection.h"

namespace keyloom {

Transaction::Transaction(std::shared_ptr<SQLiteConnection> connection, uint64_t id) noexcept
    : connection_(std::move(connection)), id_(id) {}

Transaction::Transaction(Transaction&& other) noexcept
    : connection_(std::move(other.connection_)), id_(std::exchange(other.id_, 0)) {}

Transaction& Transaction::operator=(Transaction&& other) noexcept {
    if (this != &other) {
        rollback();
        connection_ = std::move(other.connection_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Transaction::~Transaction() {
    rollback();
}

bool Transaction::active() const noexcept {
    return connection_ && connection_->isOpen(id_);
}

bool Transaction::commit(std::string* error) noexcept {
    if (!connection_) {
        if (error) *error = "no transaction";
        return false;
    }
    auto connection = std::move(connection_);
    return connection->finish(std::exchange(id_, 0), true, error);
}

void Transaction::rollback() noexcept {
    if (!connection_) return;
    auto connection = std::move(connection_);
    connection->finish(std::exchange(id_, 0), false, nullptr);
}

}  // namespace keyloom
