#pragma once

#include "core/platform/xml_document.h"

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

namespace norvale::testing {

struct XmlAdapter {
    const char* Name;
    std::unique_ptr<XmlDocument> (*Make)();
    bool ReportsPosition; // whether its parser says where a document breaks

    // Names the test cases after the adapter.
    friend std::ostream& operator<<(std::ostream& out, const XmlAdapter& adapter) {
        return out << adapter.Name;
    }
};

// The adapters a test program checks; each program defines it for its platform.
std::vector<XmlAdapter> XmlAdapters();

// Every XmlDocument adapter passes this suite and the skin reading built on it.
class XmlDocumentContract : public ::testing::TestWithParam<XmlAdapter> {
protected:
    std::unique_ptr<XmlDocument> MakeDocument() const { return GetParam().Make(); }
};

} // namespace norvale::testing
