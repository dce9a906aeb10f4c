// Another program holding a database's write lock, for the storage tests: `sqlite_lock_holder FILE` takes the lock,
// prints "held", then waits for a line "release MS" on its input, sleeps MS milliseconds, lets the lock go, prints
// "released" and ends. The end of its input lets the lock go at once.
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::printf("failed %s\n", sqlite3_errmsg(db));
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    std::string command;
    int ms = 0;
    if (std::cin >> command >> ms && command == "release") std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    std::printf("released\n");
    return 0;
}
