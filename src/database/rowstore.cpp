#include "database/rowstore.h"

#include <mutex>
#include <new>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace supplink {

namespace {

constexpr qsizetype kFirstBlockRows = 8;
// A full-size block is one huge page of the system: a large result then costs one page fault per
// 2 MB instead of one per 4 kB.
constexpr size_t kFullBlockBytes = 2 * 1024 * 1024;
constexpr std::align_val_t kFullBlockAlignment{kFullBlockBytes};
constexpr size_t kPoolBlocks = 16; // at most 32 MB kept for reuse

void* newFullBlock()
{
    void* block = ::operator new(kFullBlockBytes, kFullBlockAlignment);
#ifdef MADV_HUGEPAGE
    madvise(block, kFullBlockBytes, MADV_HUGEPAGE); // a hint: without huge pages the block works as well
#endif
    return block;
}

void deleteFullBlock(void* block)
{
    ::operator delete(block, kFullBlockAlignment);
}

// Full-size blocks that stores gave back.
class BlockPool
{
public:
    ~BlockPool()
    {
        for (void* block : m_free)
            deleteFullBlock(block);
    }
    void* take()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_free.empty()) {
                void* block = m_free.back();
                m_free.pop_back();
                return block;
            }
        }
        return newFullBlock();
    }
    void give(void* block)
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_free.size() < kPoolBlocks) {
                m_free.push_back(block);
                return;
            }
        }
        deleteFullBlock(block);
    }

private:
    std::mutex m_mutex;
    std::vector<void*> m_free;
};

BlockPool& pool()
{
    static BlockPool blocks;
    return blocks;
}

} // namespace

RowStore::RowStore(int width) : m_width(width)
{
    const size_t rowBytes = size_t(std::max(width, 1)) * sizeof(QVariant);
    m_fullRows = std::max<qsizetype>(1, qsizetype(kFullBlockBytes / rowBytes));
    while ((kFirstBlockRows << m_growingBlocks) < m_fullRows) {
        m_growingRows += kFirstBlockRows << m_growingBlocks;
        ++m_growingBlocks;
    }
}

RowStore::~RowStore()
{
    clear();
}

RowStore::RowStore(RowStore&& other) noexcept
{
    *this = std::move(other);
}

RowStore& RowStore::operator=(RowStore&& other) noexcept
{
    if (this != &other) {
        clear();
        m_width = other.m_width;
        m_size = other.m_size;
        m_growingBlocks = other.m_growingBlocks;
        m_growingRows = other.m_growingRows;
        m_fullRows = other.m_fullRows;
        m_blocks = std::move(other.m_blocks);
        other.m_blocks.clear();
        other.m_size = 0;
    }
    return *this;
}

void RowStore::blockOf(qsizetype index, qsizetype& block, qsizetype& offset, qsizetype& rows) const
{
    if (index < m_growingRows) {
        block = 0;
        qsizetype start = 0;
        while (start + (kFirstBlockRows << block) <= index) {
            start += kFirstBlockRows << block;
            ++block;
        }
        offset = index - start;
        rows = kFirstBlockRows << block;
    } else {
        block = m_growingBlocks + (index - m_growingRows) / m_fullRows;
        offset = (index - m_growingRows) % m_fullRows;
        rows = m_fullRows;
    }
}

QVariant* RowStore::locate(qsizetype index)
{
    qsizetype block = 0, offset = 0, rows = 0;
    blockOf(index, block, offset, rows);
    return m_blocks[size_t(block)].values + offset * m_width;
}

QVariant* RowStore::append()
{
    qsizetype block = 0, offset = 0, rows = 0;
    blockOf(m_size, block, offset, rows);
    if (offset == 0) {
        const bool full = rows == m_fullRows && m_width > 0;
        void* memory = full ? pool().take() : ::operator new(size_t(rows * m_width) * sizeof(QVariant));
        m_blocks.push_back(Block{static_cast<QVariant*>(memory), full});
    }
    QVariant* values = m_blocks[size_t(block)].values + offset * m_width;
    for (int i = 0; i < m_width; ++i)
        new (values + i) QVariant();
    ++m_size;
    return values;
}

void RowStore::clear()
{
    for (qsizetype index = 0; index < m_size; ++index) {
        QVariant* values = locate(index);
        for (int i = 0; i < m_width; ++i) {
            // A null holds nothing to give back (most cells of a wide table are null).
            if (values[i].isValid())
                values[i].~QVariant();
        }
    }
    for (const Block& block : m_blocks) {
        if (block.pooled)
            pool().give(block.values);
        else
            ::operator delete(block.values);
    }
    m_blocks.clear();
    m_size = 0;
}

} // namespace supplink
