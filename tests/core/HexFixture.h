#pragma once
// Expected bytes written by hand in tests/fixtures/<folder>/*.hex: "size N" makes the whole file
// N bytes with every byte not listed 0; without it only the listed bytes are compared. "@N" moves
// to offset N; "#" starts a comment; every other word is one byte in hexadecimal.
#include "TestSupport.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace kt_test {

struct THexFixture {
    int Size = -1;
    std::vector<std::pair<int, uint8_t>> Bytes;
};

// A fixture by its path below the fixtures folder.
inline THexFixture ReadHex(const QString& name)
{
    THexFixture fx;
    const QString text = QString::fromUtf8(ReadFile(FixturePath(name)));
    EXPECT_FALSE(text.isEmpty()) << name.toStdString();
    int pos = 0;
    bool sizeNext = false;
    for (QString line : text.split('\n')) {
        line = line.section('#', 0, 0);
        for (const QString& tok : line.split(' ', Qt::SkipEmptyParts)) {
            bool ok = false;
            if (sizeNext) {
                fx.Size = tok.toInt(&ok);
                sizeNext = false;
            } else if (tok == "size") {
                sizeNext = true;
                ok = true;
            } else if (tok.startsWith('@')) {
                pos = tok.mid(1).toInt(&ok, 0);
            } else if (tok.size() == 2) {
                fx.Bytes.emplace_back(pos++, uint8_t(tok.toUInt(&ok, 16)));
            }
            EXPECT_TRUE(ok) << name.toStdString() << ": " << tok.toStdString();
        }
    }
    return fx;
}

// The bytes against the fixture, reporting the first difference.
inline void ExpectHexMatches(const QByteArray& actual, const QString& fixture)
{
    SCOPED_TRACE(fixture.toStdString());
    const THexFixture fx = ReadHex(fixture);
    QByteArray expected;
    if (fx.Size >= 0) {
        expected = QByteArray(fx.Size, '\0');
        for (auto [pos, b] : fx.Bytes) {
            ASSERT_LT(pos, expected.size()) << "a listed byte past the size";
            expected[pos] = char(b);
        }
        ASSERT_EQ(actual.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            if (actual[i] != expected[i]) {
                ADD_FAILURE() << "first difference at offset " << i << ": got " << int(uint8_t(actual[i]))
                              << ", expected " << int(uint8_t(expected[i]));
                return;
            }
    } else {
        for (auto [pos, b] : fx.Bytes) {
            ASSERT_LT(pos, actual.size());
            EXPECT_EQ(uint8_t(actual[pos]), b) << "offset " << pos;
        }
    }
}

} // namespace kt_test
