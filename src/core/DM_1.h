// The data module: the only two database connections of the program and the
// one transaction of each. The program entry creates it before the main
// window (createDataModule) and frees it when the message loop has ended
// (freeDataModule). Windows reach the transactions through DM1 to commit or
// roll back-retaining after a write; they never open or close a connection.
#pragma once

#include "db/fb.h"

// The two files, looked for in the current working directory.
inline constexpr char kMemoFileName[] = "KELDMARK.FDB";
inline constexpr char kCatchFileName[] = "SORVENDA.FDB";

class TDM1 {
public:
    TDM1();
    ~TDM1() = default;
    TDM1(const TDM1&) = delete;
    TDM1& operator=(const TDM1&) = delete;

    // In this order: each transaction is bound to the connection before it.
    tolvane::db::Connection IBDB1;    // memo database KELDMARK.FDB
    tolvane::db::Transaction IBTr1;
    tolvane::db::Connection IBDB2;    // catch-data database SORVENDA.FDB
    tolvane::db::Transaction IBTr2;

    // Run by each connection just before it attaches: the file in the
    // current working directory of that moment.
    void IBDB1BeforeConnect(tolvane::db::Connection& sender);
    void IBDB2BeforeConnect(tolvane::db::Connection& sender);
};

extern TDM1* DM1;

// Creates DM1 (nothing is attached yet) / frees it, detaching both files.
void createDataModule();
void freeDataModule();
