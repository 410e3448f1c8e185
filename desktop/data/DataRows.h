#pragma once

#include <QString>
#include <QStringView>

#include <span>
#include <utility>
#include <vector>

class CRuleBase;

// The data grid of an editor's "Input / Output" page as the data commands see it: text cells
// addressed as column, row. Rows 0 and 1 are headers; data rows start at kFirstDataRow.
class DataCells {
  public:
    virtual ~DataCells() = default;
    virtual int RowCount() const = 0;
    virtual QString Cell(int col, int row) const = 0;
    virtual void SetCell(int col, int row, const QString& text) = 0;
};

inline constexpr int kFirstDataRow = 2;

// Estimates of the data-page tools: (grid row, value), in row order.
using RowEstimates = std::vector<std::pair<int, double>>;

// Data cells in memory; out-of-range reads give the empty text and writes grow the table.
class DataTable final : public DataCells {
  public:
    explicit DataTable(int rowCount = kFirstDataRow) : rows_(rowCount) {}
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    QString Cell(int col, int row) const override;
    void SetCell(int col, int row, const QString& text) override;

  private:
    std::vector<std::vector<QString>> rows_;
};

// Where the columns of the data grid stand for a rule base with nin inputs and nout outputs:
// 1 .. nin the inputs, then the outputs, then the estimate and the linguistic description.
// Every column after the inputs reads in the first output's universe.
struct DataLayout {
    int inputs = 0;
    int outputs = 0;
    // Per variable column 1 .. inputs + outputs: (low, high) of the universe it is clamped to.
    std::vector<std::pair<double, double>> universes;

    static DataLayout Of(const CRuleBase& ruleBase);
    int VariableColumns() const { return inputs + outputs; }
    int DesiredColumn() const { return inputs + outputs; }
    int EstimateColumn() const { return inputs + outputs + 1; }
    int DescriptionColumn() const { return inputs + outputs + 2; }
};

// A grid text as a number: every ',' and '.' reads as the decimal point; blanks around it, a
// sign, digits and an exponent; "nan", "inf" and hexadecimal are not numbers.
bool GridTextToNumber(QStringView text, double& value);

// Columns 1 .. count of the row as numbers, each clamped into its column's universe, into
// values[0 .. count-1]; false at the first cell that is not a number (the values read before it
// stay).
bool ReadDataRow(const DataCells& cells, const DataLayout& layout, int row, int count,
                 std::span<double> values);

// The largest |desired - estimate| over the estimated rows, desired being the last output's
// cell as written (rows where it is not a number are skipped). Taken from the estimates
// themselves, not from their texts. 0 without such rows.
double MaxErrorOfInference(const DataCells& cells, const DataLayout& layout,
                           const RowEstimates& estimates);

// An estimate or an error as the data page shows it: the value itself with six decimals, '.' as
// the point whatever the locale ("45.562700"). Non-finite values give "NAN", "INF" and "-INF".
QString EstimateText(double value);

// The short text of the expression that the settings of the variable at signed index
// `variable` give the value, with "-" in front of a negative value's text; empty when the
// variable's settings describe no values.
QString DescribedValueText(const CRuleBase& ruleBase, int variable, double value);
