#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace optimizer {

// A growable array that keeps its first N elements inline, so the patterns of a plan can be
// deep-copied without a heap allocation per pattern (plans are copied many times per generation).
template <typename T, int32_t N> class SmallArray {
    static_assert(std::is_trivially_copyable_v<T>, "SmallArray copies its elements with memcpy");

public:
    SmallArray() = default;
    SmallArray(const SmallArray& other) { assign(other); }
    SmallArray(SmallArray&& other) noexcept { steal(other); }
    ~SmallArray() { release(); }

    SmallArray& operator=(const SmallArray& other)
    {
        if (this != &other) {
            m_size = 0;
            assign(other);
        }
        return *this;
    }
    SmallArray& operator=(SmallArray&& other) noexcept
    {
        if (this != &other) {
            release();
            steal(other);
        }
        return *this;
    }

    int32_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }
    T& operator[](int32_t i) { return m_data[i]; }
    const T& operator[](int32_t i) const { return m_data[i]; }

    void clear() { m_size = 0; }
    void push_back(const T& value)
    {
        if (m_size == m_capacity)
            grow(m_capacity * 2);
        m_data[m_size++] = value;
    }
    void erase(int32_t i)
    {
        std::memmove(m_data + i, m_data + i + 1, sizeof(T) * size_t(m_size - i - 1));
        --m_size;
    }

    friend bool operator==(const SmallArray& a, const SmallArray& b)
    {
        return a.m_size == b.m_size && std::equal(a.begin(), a.end(), b.begin());
    }

private:
    bool onHeap() const { return m_data != m_inline; }
    void release()
    {
        if (onHeap())
            delete[] m_data;
        m_data = m_inline;
        m_capacity = N;
        m_size = 0;
    }
    void grow(int32_t capacity)
    {
        T* bigger = new T[size_t(capacity)];
        std::memcpy(bigger, m_data, sizeof(T) * size_t(m_size));
        if (onHeap())
            delete[] m_data;
        m_data = bigger;
        m_capacity = capacity;
    }
    void assign(const SmallArray& other)
    {
        if (other.m_size > m_capacity)
            grow(other.m_size);
        std::memcpy(m_data, other.m_data, sizeof(T) * size_t(other.m_size));
        m_size = other.m_size;
    }
    void steal(SmallArray& other)
    {
        if (other.onHeap()) {
            m_data = other.m_data;
            m_capacity = other.m_capacity;
            m_size = other.m_size;
            other.m_data = other.m_inline;
            other.m_capacity = N;
            other.m_size = 0;
        } else {
            m_data = m_inline;
            m_capacity = N;
            std::memcpy(m_inline, other.m_inline, sizeof(T) * size_t(other.m_size));
            m_size = other.m_size;
            other.m_size = 0;
        }
    }

    T m_inline[N];
    T* m_data = m_inline;
    int32_t m_size = 0;
    int32_t m_capacity = N;
};

} // namespace optimizer
