#pragma once

// The settings fixtures as the rows of a Qt data-driven test: one row a fixture, named after
// it, with its index in the column "index".

#include <QtTest>
#include <iterator>

#include "support/settings_fixtures.h"

namespace corvan::test {

inline void addSettingsFixtureRows() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < static_cast<int>(std::size(kSettingsFixtures)); ++i) {
        QTest::newRow(kSettingsFixtures[i].name) << i;
    }
}

}  // namespace corvan::test
