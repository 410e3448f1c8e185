#pragma once

#include <QString>
#include <QStringView>

#include <span>
#include <utility>
#include <vector>

class CRuleBase;

// The data rows of an editor's "Input / Output" page: text cells addressed as column, row, with
// the columns as DataLayout numbers them and column 0 the row's label ("1."). The two header
// rows above the data are no rows here; DataLayout gives their texts. Out-of-range reads give the
// empty text; only InsertRows and RemoveRow change the number of rows.
class DataTable {
  public:
    explicit DataTable(int rowCount = 0) : rows_(rowCount) {}
    // One row per entry, its cells from column 0 on.
    explicit DataTable(std::vector<std::vector<QString>> rows) : rows_(std::move(rows)) {}

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const QString& Cell(int col, int row) const;
    // A row that is not there is not written.
    void SetCell(int col, int row, const QString& text);
    void InsertRows(int at, int count);
    // The later rows move up; the labels in column 0 stay where they are, so the last one goes.
    void RemoveRow(int row);

  private:
    std::vector<std::vector<QString>> rows_;
};

// Estimates of the data-page tools: (row, value), in row order.
using RowEstimates = std::vector<std::pair<int, double>>;

// The columns of the data page for a rule base with nin inputs and nout outputs: 0 the row
// label, 1 .. nin the inputs, then the outputs, the estimate ("est.") and the linguistic
// description ("Ling. Approx."), the last shown only with the linguistic approximation. Every
// column after the inputs reads in the first output's universe.
struct DataLayout {
    struct Header {
        QString name;
        QString context;  // "<low, high>" of the column's universe
    };

    int inputs = 0;
    int outputs = 0;
    // Per variable column 1 .. inputs + outputs: (low, high) of the universe it is clamped to.
    std::vector<std::pair<double, double>> universes;
    // Per column 1 .. DescriptionColumn(): the texts of the two header rows.
    std::vector<Header> headers;

    static DataLayout Of(const CRuleBase& ruleBase);
    int VariableColumns() const { return inputs + outputs; }
    // An import fills the inputs and the first output; the further outputs keep their cells.
    int ImportedColumns() const { return inputs + 1; }
    int DesiredColumn() const { return inputs + outputs; }
    int EstimateColumn() const { return inputs + outputs + 1; }
    int DescriptionColumn() const { return inputs + outputs + 2; }
    // Label column included.
    int ColumnCount(bool linguistic) const { return DescriptionColumn() + (linguistic ? 1 : 0); }
    const Header& HeaderOf(int col) const { return headers[col - 1]; }
};

// A grid text as a number: every ',' and '.' reads as the decimal point; blanks around it, a
// sign, digits and an exponent; "nan", "inf" and hexadecimal are not numbers.
bool GridTextToNumber(QStringView text, double& value);

// Columns 1 .. count of the row as numbers, each clamped into its column's universe, into
// values[0 .. count-1]; false at the first cell that is not a number (the values read before it
// stay).
bool ReadDataRow(const DataTable& table, const DataLayout& layout, int row, int count,
                 std::span<double> values);

// The largest |desired - estimate| over the estimated rows, desired being the last output's
// cell as written (rows where it is not a number are skipped). Taken from the estimates
// themselves, not from their texts. 0 without such rows.
double MaxErrorOfInference(const DataTable& table, const DataLayout& layout,
                           const RowEstimates& estimates);

// An estimate or an error as the data page shows it: the value itself with six decimals, '.' as
// the point whatever the locale ("45.562700"). Non-finite values give "NAN", "INF" and "-INF".
QString EstimateText(double value);

// The short text of the expression that the settings of the variable at signed index
// `variable` give the value, with "-" in front of a negative value's text; empty when the
// variable's settings describe no values.
QString DescribedValueText(const CRuleBase& ruleBase, int variable, double value);
