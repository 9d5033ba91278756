#pragma once

#include "viewer/api/ApiExport.h"

#include <cstdint>

namespace KX::API::Document {

// How a pivot table lays out its fields and totals and what it shows.
struct PivotTableLayoutSettings {
    enum class ReportLayout : std::uint8_t { Compact, Outline, Tabular };
    enum class SubtotalPlacement : std::uint8_t { None, Top, Bottom };
    enum class PageFieldOrder : std::uint8_t { DownThenOver, OverThenDown };

    PivotTableLayoutSettings() noexcept = default;
    PivotTableLayoutSettings(const PivotTableLayoutSettings&) noexcept = default;
    PivotTableLayoutSettings(PivotTableLayoutSettings&&) noexcept = default;

    KX_API_EXPORT PivotTableLayoutSettings& operator=(const PivotTableLayoutSettings& other) noexcept;
    KX_API_EXPORT PivotTableLayoutSettings& operator=(PivotTableLayoutSettings&& other) noexcept;

    ReportLayout reportLayout;
    SubtotalPlacement subtotalPlacement;
    PageFieldOrder pageFieldOrder;
    // Page fields per row or column before the next one starts; 0 for no limit.
    std::uint8_t pageFieldsPerLine;
    // Indentation of compact-form row labels, in characters.
    std::uint8_t compactIndent;
    bool repeatItemLabels;
    bool blankLineAfterItems;
    bool rowGrandTotals;
    bool columnGrandTotals;
    bool rowHeaders;
    bool columnHeaders;
    bool bandedRows;
    bool bandedColumns;
    bool fieldCaptions;
    bool expandButtons;
    bool itemsWithoutData;
    bool emptyRows;
    bool emptyColumns;
    bool errorCaption;
    bool emptyCellCaption;
    bool filteredItemsInSubtotals;
    bool multipleFiltersPerField;
    bool autoFitColumns;
    bool preserveFormatting;
    bool mergeLabels;
    bool refreshOnOpen;
    bool saveSourceData;
};

} // namespace KX::API::Document
