#include "core/text_pattern.h"

#include <algorithm>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "base/errors.h"

namespace tillwick {
namespace {

enum class Kind : std::uint8_t {
    Empty, Char, Set, Begin, End, WordEdge, NotWordEdge,
    Group, Alt, Seq, Repeat, BackRef, Ahead, NotAhead,
};

struct Node {
    explicit Node(Kind k) : kind(k) {}
    Kind kind;
    unsigned char ch = 0;
    int index = -1;  // Set: its number; Group and BackRef: the capture (-1: not capturing)
    int min = 0, max = -1;  // Repeat; max -1: no limit
    bool greedy = true;
    bool negated = false;  // Set
    std::vector<int> kids;
};

// Enough for every name in a menu or on a toolbar (tens of milliseconds at
// most); an operation that needs more (nested quantifiers on long texts)
// fails its step instead of hanging or overflowing the stack it runs on.
constexpr long kMaxSteps = 1'000'000;
constexpr int kMaxDepth = 2000;
constexpr std::uintptr_t kMaxStackBytes = 512 * 1024;
constexpr int kMaxCount = 100'000;

unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }
unsigned char Upper(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }
bool IsWordChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

using CharSet = std::bitset<256>;

CharSet ShorthandSet(char letter) {
    CharSet s;
    switch (Lower(static_cast<unsigned char>(letter))) {
        case 'd':
            for (int c = '0'; c <= '9'; ++c) s.set(c);
            break;
        case 'w':
            for (int c = 0; c < 256; ++c) s.set(c, IsWordChar(static_cast<unsigned char>(c)));
            break;
        default:  // 's'
            for (char c : {' ', '\t', '\n', '\v', '\f', '\r'}) s.set(static_cast<unsigned char>(c));
    }
    return letter >= 'A' && letter <= 'Z' ? ~s : s;
}

}  // namespace

struct TextPattern::Program {
    std::vector<Node> nodes;
    std::vector<CharSet> sets;
    int root = 0;
    int captures = 0;
};

namespace {

using Program = TextPattern::Program;

class Parser {
public:
    Parser(std::string_view pattern, Program& program) : p_(pattern), g_(program) {}

    bool Run() {
        int root = 0;
        if (!Alternation(root) || pos_ != p_.size() || highestBackRef_ > g_.captures) return false;
        g_.root = root;
        return true;
    }

private:
    bool More() const { return pos_ < p_.size(); }
    char Peek() const { return p_[pos_]; }
    int Add(Node node) {
        g_.nodes.push_back(std::move(node));
        return static_cast<int>(g_.nodes.size() - 1);
    }
    int AddSet(const CharSet& set) {
        g_.sets.push_back(set);
        Node n(Kind::Set);
        n.index = static_cast<int>(g_.sets.size() - 1);
        return Add(std::move(n));
    }
    int AddChar(unsigned char c) {
        Node n(Kind::Char);
        n.ch = c;
        return Add(std::move(n));
    }

    bool Alternation(int& out) {
        std::vector<int> alternatives(1);
        if (!Sequence(alternatives.back())) return false;
        while (More() && Peek() == '|') {
            ++pos_;
            alternatives.emplace_back();
            if (!Sequence(alternatives.back())) return false;
        }
        if (alternatives.size() == 1) {
            out = alternatives.front();
        } else {
            Node n(Kind::Alt);
            n.kids = std::move(alternatives);
            out = Add(std::move(n));
        }
        return true;
    }

    bool Sequence(int& out) {
        Node seq(Kind::Seq);
        while (More() && Peek() != '|' && Peek() != ')') {
            int atom = 0;
            if (!Atom(atom) || !Quantified(atom)) return false;
            seq.kids.push_back(atom);
        }
        out = Add(std::move(seq));
        return true;
    }

    // "{n}", "{n,}" or "{n,m}" at pos_; anything else is a plain "{".
    bool Braces(std::size_t& at, int& min, int& max) const {
        std::size_t i = at + 1;
        auto number = [&](int& value) {
            const std::size_t from = i;
            long v = 0;
            while (i < p_.size() && p_[i] >= '0' && p_[i] <= '9') {
                v = v * 10 + (p_[i++] - '0');
                if (v > kMaxCount) v = kMaxCount + 1;
            }
            value = static_cast<int>(v);
            return i > from;
        };
        if (!number(min)) return false;
        max = min;
        if (i < p_.size() && p_[i] == ',') {
            ++i;
            if (!number(max)) max = -1;
        }
        if (i >= p_.size() || p_[i] != '}') return false;
        at = i + 1;
        return true;
    }

    bool QuantifierAt(std::size_t at) const {
        if (at >= p_.size()) return false;
        const char c = p_[at];
        int min = 0, max = 0;
        return c == '*' || c == '+' || c == '?' || (c == '{' && Braces(at, min, max));
    }

    bool Quantified(int& atom) {
        if (!More()) return true;
        int min = 0, max = -1;
        switch (Peek()) {
            case '*': ++pos_; break;
            case '+': min = 1; ++pos_; break;
            case '?': max = 1; ++pos_; break;
            case '{':
                if (!Braces(pos_, min, max)) return true;  // a plain "{"
                break;
            default: return true;
        }
        if (min > kMaxCount || max > kMaxCount || (max >= 0 && max < min)) return false;
        Node n(Kind::Repeat);
        n.min = min;
        n.max = max;
        if (More() && Peek() == '?') {
            n.greedy = false;
            ++pos_;
        }
        if (QuantifierAt(pos_)) return false;  // a quantifier on a quantifier
        n.kids = {atom};
        atom = Add(std::move(n));
        return true;
    }

    bool Atom(int& out) {
        const char c = p_[pos_++];
        switch (c) {
            case '(': return GroupAtom(out);
            case '[': return ClassAtom(out);
            case '.': out = AddSet(~(CharSet().set('\n').set('\r'))); return true;
            case '^': out = Add(Node(Kind::Begin)); return true;
            case '$': out = Add(Node(Kind::End)); return true;
            case '\\': return EscapeAtom(out);
            case '*': case '+': case '?': return false;  // nothing to repeat
            case '{':
                if (QuantifierAt(pos_ - 1)) return false;
                break;
            default: break;
        }
        out = AddChar(static_cast<unsigned char>(c));
        return true;
    }

    bool GroupAtom(int& out) {
        // Each group recurses once here: the nesting bound is the stack's.
        if (++nesting_ > TextPattern::kMaxNesting) return false;
        Node n(Kind::Group);
        if (p_.substr(pos_, 2) == "?:") {
            pos_ += 2;
        } else if (p_.substr(pos_, 2) == "?=" || p_.substr(pos_, 2) == "?!") {
            n.kind = p_[pos_ + 1] == '=' ? Kind::Ahead : Kind::NotAhead;
            pos_ += 2;
        } else {
            n.index = ++g_.captures;
        }
        int inner = 0;
        if (!Alternation(inner) || !More() || Peek() != ')') return false;
        ++pos_;
        --nesting_;
        n.kids = {inner};
        out = Add(std::move(n));
        return true;
    }

    // One character an escape stands for (after the backslash), outside the
    // shorthand classes; -1 when it stands for no character we can meet.
    int EscapedChar(char e) {
        switch (e) {
            case 't': return '\t';
            case 'n': return '\n';
            case 'r': return '\r';
            case 'f': return '\f';
            case 'v': return '\v';
            case '0': return 0;
            case 'c':
                if (More() && ((Peek() >= 'a' && Peek() <= 'z') || (Peek() >= 'A' && Peek() <= 'Z')))
                    return p_[pos_++] % 32;
                return 'c';
            case 'x':
            case 'u': {
                const std::size_t digits = e == 'x' ? 2 : 4;
                if (pos_ + digits > p_.size()) return e;
                int value = 0;
                for (std::size_t i = 0; i < digits; ++i) {
                    const int h = HexValue(p_[pos_ + i]);
                    if (h < 0) return e;
                    value = value * 16 + h;
                }
                pos_ += digits;
                return value < 256 ? value : -1;
            }
            default: return static_cast<unsigned char>(e);
        }
    }

    bool EscapeAtom(int& out) {
        if (!More()) return false;
        const char e = p_[pos_++];
        if (e == 'b' || e == 'B') {
            out = Add(Node(e == 'b' ? Kind::WordEdge : Kind::NotWordEdge));
            return true;
        }
        if (std::string_view("dDwWsS").find(e) != std::string_view::npos) {
            out = AddSet(ShorthandSet(e));
            return true;
        }
        if (e >= '1' && e <= '9') {
            int number = e - '0';
            while (More() && Peek() >= '0' && Peek() <= '9' && number < kMaxCount) number = number * 10 + (p_[pos_++] - '0');
            Node n(Kind::BackRef);
            n.index = number;
            highestBackRef_ = std::max(highestBackRef_, number);
            out = Add(std::move(n));
            return true;
        }
        const int c = EscapedChar(e);
        out = c < 0 ? AddSet(CharSet()) : AddChar(static_cast<unsigned char>(c));
        return true;
    }

    // One member of a class: a character (>= 0), a shorthand set merged into
    // `set` (-2), or the end of the pattern (-3).
    int ClassMember(CharSet& set) {
        if (!More()) return -3;
        const char c = p_[pos_++];
        if (c != '\\') return static_cast<unsigned char>(c);
        if (!More()) return -3;
        const char e = p_[pos_++];
        if (std::string_view("dDwWsS").find(e) != std::string_view::npos) {
            set |= ShorthandSet(e);
            return -2;
        }
        if (e == 'b') return '\b';
        const int value = EscapedChar(e);
        return value < 0 ? -2 : value;
    }

    bool ClassAtom(int& out) {
        const bool negated = More() && Peek() == '^';
        if (negated) ++pos_;
        CharSet set;
        for (;;) {
            if (!More()) return false;
            if (Peek() == ']') {
                ++pos_;
                break;
            }
            const int low = ClassMember(set);
            if (low == -3) return false;
            if (More() && Peek() == '-' && pos_ + 1 < p_.size() && p_[pos_ + 1] != ']') {
                ++pos_;
                const int high = ClassMember(set);
                if (high == -3 || low < 0 || high < 0 || high < low) return false;
                for (int c = low; c <= high; ++c) set.set(static_cast<std::size_t>(c));
            } else if (low >= 0) {
                set.set(static_cast<std::size_t>(low));
            }
        }
        out = AddSet(set);
        g_.nodes[static_cast<std::size_t>(out)].negated = negated;
        return true;
    }

    std::string_view p_;
    Program& g_;
    std::size_t pos_ = 0;
    int highestBackRef_ = 0;
    int nesting_ = 0;
};

// A continuation: what must still match after a node, from a position on.
class Next {
public:
    template <class F>
    explicit Next(const F& f) : fn_([](const void* c, std::size_t i) { return (*static_cast<const F*>(c))(i); }), ctx_(&f) {}
    bool operator()(std::size_t i) const { return fn_(ctx_, i); }

private:
    bool (*fn_)(const void*, std::size_t);
    const void* ctx_;
};

class Matcher {
public:
    Matcher(const Program& g, std::string_view text, MatchBudget& budget)
        : g_(g), t_(text), caps_(2 * static_cast<std::size_t>(g.captures + 1), kUnset), budget_(budget),
          stackBase_(reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0))) {}

    bool Search() {
        const auto accept = [](std::size_t) { return true; };
        for (std::size_t start = 0; start <= t_.size(); ++start)
            if (Match(g_.root, start, Next(accept))) return true;
        return false;
    }

private:
    static constexpr std::size_t kUnset = static_cast<std::size_t>(-1);

    // Bounded in levels and in the bytes of stack those levels take, which
    // differ by build (x86, x64, sanitizers): the browser's thread has 1 MB.
    struct Depth {
        Depth(int& d, std::uintptr_t base) : d_(d) {
            const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
            if (++d_ > kMaxDepth || (here < base && base - here > kMaxStackBytes))
                throw StepError("the pattern needs too much work for this text");
        }
        ~Depth() { --d_; }
        int& d_;
    };

    unsigned char At(std::size_t i) const { return static_cast<unsigned char>(t_[i]); }
    bool Same(unsigned char a, unsigned char b) const { return Lower(a) == Lower(b); }
    bool WordAt(std::size_t i) const { return i < t_.size() && IsWordChar(At(i)); }
    bool InSet(const Node& n, unsigned char c) const {
        const CharSet& s = g_.sets[static_cast<std::size_t>(n.index)];
        const bool in = s[c] || s[Lower(c)] || s[Upper(c)];
        return n.negated ? !in : in;
    }

    bool Match(int id, std::size_t i, Next k) {
        budget_.Spend();
        Depth depth(depth_, stackBase_);
        const Node& n = g_.nodes[static_cast<std::size_t>(id)];
        switch (n.kind) {
            case Kind::Empty: return k(i);
            case Kind::Char: return i < t_.size() && Same(At(i), n.ch) && k(i + 1);
            case Kind::Set: return i < t_.size() && InSet(n, At(i)) && k(i + 1);
            case Kind::Begin: return i == 0 && k(i);
            case Kind::End: return i == t_.size() && k(i);
            case Kind::WordEdge: return (i > 0 && WordAt(i - 1)) != WordAt(i) && k(i);
            case Kind::NotWordEdge: return (i > 0 && WordAt(i - 1)) == WordAt(i) && k(i);
            case Kind::Seq: return Sequence(n, 0, i, k);
            case Kind::Alt:
                for (int kid : n.kids)
                    if (Match(kid, i, k)) return true;
                return false;
            case Kind::Group: return Group(n, i, k);
            case Kind::Repeat: return Repeat(n, 0, i, k);
            case Kind::BackRef: return BackRef(n, i, k);
            case Kind::Ahead:
            case Kind::NotAhead: {
                const auto any = [](std::size_t) { return true; };
                const bool found = Match(n.kids[0], i, Next(any));
                return found == (n.kind == Kind::Ahead) && k(i);
            }
        }
        return false;
    }

    bool Sequence(const Node& n, std::size_t item, std::size_t i, Next k) {
        if (item == n.kids.size()) return k(i);
        const auto rest = [&](std::size_t j) { return Sequence(n, item + 1, j, k); };
        return Match(n.kids[item], i, Next(rest));
    }

    bool Group(const Node& n, std::size_t i, Next k) {
        if (n.index < 0) return Match(n.kids[0], i, k);
        const std::size_t slot = 2 * static_cast<std::size_t>(n.index);
        const auto close = [&](std::size_t j) {
            const std::size_t oldStart = caps_[slot], oldEnd = caps_[slot + 1];
            caps_[slot] = i;
            caps_[slot + 1] = j;
            if (k(j)) return true;
            caps_[slot] = oldStart;
            caps_[slot + 1] = oldEnd;
            return false;
        };
        return Match(n.kids[0], i, Next(close));
    }

    bool Repeat(const Node& n, int count, std::size_t i, Next k) {
        Depth depth(depth_, stackBase_);
        const int kid = n.kids[0];
        if (count < n.min) {
            const auto again = [&](std::size_t j) { return Repeat(n, count + 1, j, k); };
            return Match(kid, i, Next(again));
        }
        const bool more = n.max < 0 || count < n.max;
        // Another round must consume something, or an empty body would loop forever.
        const auto again = [&](std::size_t j) { return j != i && Repeat(n, count + 1, j, k); };
        if (n.greedy) return (more && Match(kid, i, Next(again))) || k(i);
        return k(i) || (more && Match(kid, i, Next(again)));
    }

    bool BackRef(const Node& n, std::size_t i, Next k) {
        const std::size_t slot = 2 * static_cast<std::size_t>(n.index);
        if (caps_[slot] == kUnset) return k(i);
        const std::size_t length = caps_[slot + 1] - caps_[slot];
        if (t_.size() - i < length) return false;
        for (std::size_t x = 0; x < length; ++x)
            if (!Same(At(caps_[slot] + x), At(i + x))) return false;
        return k(i + length);
    }

    const Program& g_;
    std::string_view t_;
    std::vector<std::size_t> caps_;
    MatchBudget& budget_;
    int depth_ = 0;
    std::uintptr_t stackBase_;
};

}  // namespace

MatchBudget::MatchBudget() : left_(kMaxSteps) {}

void MatchBudget::Spend() {
    if (left_ <= 0) throw StepError("the pattern needs too much work for these texts");
    --left_;
}

TextPattern::TextPattern(std::string_view pattern) {
    if (pattern.size() > kMaxLength) return;
    auto program = std::make_unique<Program>();
    if (Parser(pattern, *program).Run()) program_ = std::move(program);
}

TextPattern::~TextPattern() = default;
TextPattern::TextPattern(TextPattern&&) noexcept = default;
TextPattern& TextPattern::operator=(TextPattern&&) noexcept = default;

bool TextPattern::Matches(std::string_view text) const {
    MatchBudget budget;
    return Matches(text, budget);
}

bool TextPattern::Matches(std::string_view text, MatchBudget& budget) const {
    if (!program_) throw StepError("not a valid pattern");
    return Matcher(*program_, text, budget).Search();
}

}  // namespace tillwick
