#pragma once

#include "platform/error.h"

#include <QTest>

// Runs `call` and checks it raises kelvane::Error with the number `expected`.
#define KELVANE_EXPECT_ERROR(call, expected)                                                                           \
    do {                                                                                                               \
        try {                                                                                                          \
            call;                                                                                                      \
            QFAIL("expected error " #expected " from: " #call);                                                        \
        } catch (const kelvane::Error& raised_) {                                                                      \
            QCOMPARE(raised_.number(), int(expected));                                                                 \
        }                                                                                                              \
    } while (false)
