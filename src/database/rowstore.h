#pragma once
// The rows of a recordset: rows of equal width, each a run of QVariants in
// column order (an invalid QVariant is a database null). Rows live in blocks,
// so a growing store never moves a row; small results take little memory and
// large ones reuse the blocks that earlier large results gave back, which
// spares the system the work of handing out fresh memory again and again.

#include <QVariant>
#include <vector>

namespace supplink {

class RowStore
{
public:
    explicit RowStore(int width = 0);
    ~RowStore();
    RowStore(RowStore&& other) noexcept;
    RowStore& operator=(RowStore&& other) noexcept;
    RowStore(const RowStore&) = delete;
    RowStore& operator=(const RowStore&) = delete;

    int width() const { return m_width; }
    qsizetype size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    QVariant* row(qsizetype index) { return locate(index); }
    const QVariant* row(qsizetype index) const { return const_cast<RowStore*>(this)->locate(index); }
    // Adds a row of nulls and returns it.
    QVariant* append();
    void clear();

private:
    struct Block
    {
        QVariant* values;
        bool pooled; // a full-size block, given back to the pool
    };

    QVariant* locate(qsizetype index);
    void blockOf(qsizetype index, qsizetype& block, qsizetype& offset, qsizetype& rows) const;

    int m_width = 0;
    qsizetype m_size = 0;
    int m_growingBlocks = 0;     // blocks of 8, 16, 32, ... rows before the full-size ones
    qsizetype m_growingRows = 0; // the rows those blocks hold together
    qsizetype m_fullRows = 1;    // rows of a full-size block
    std::vector<Block> m_blocks;
};

} // namespace supplink
