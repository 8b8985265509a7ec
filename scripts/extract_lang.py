#!/usr/bin/env python3
"""Builds core/ULanguage_Table.cpp, the built-in English texts of the language table.

Reads the index/text pairs from the text tables of the design document given on the command line
(the document that describes the configurator's windows), applies the few hand-written entries
below for rows whose texts are abbreviated there, and writes one C++ table of 2800 UTF-8 strings,
" " at every index that holds no text.

    scripts/extract_lang.py DESIGN_DOC.md core/ULanguage_Table.cpp
"""
import re
import sys

TABLE_SIZE = 2800
FILLER = " "

QUOTED = r'"[^"\n]*"'
# a group of indexes: "12", "12, 13, 14", "1-8", "2702 to 2707", "1200 and 1201"
IDX_GROUP = r'\d{1,4}(?:\s*(?:,|and|to|-)\s*\d{1,4})*'


def expand(group):
    """Index group text -> list of indexes (ranges expanded)."""
    out = []
    for part in re.split(r'\s*(?:,|and)\s*', group.strip()):
        m = re.fullmatch(r'(\d+)\s*(?:to|-)\s*(\d+)', part)
        if m:
            a, b = int(m.group(1)), int(m.group(2))
            if b < a or b - a > 200:
                return None
            out.extend(range(a, b + 1))
        elif re.fullmatch(r'\d+', part):
            out.append(int(part))
        else:
            return None
    return out


def quoted_list(text):
    """Leading run of quoted strings separated by commas; returns (texts, rest)."""
    texts = []
    pos = 0
    while True:
        m = re.match(r'\s*(' + QUOTED + r')\s*', text[pos:])
        if not m:
            break
        texts.append(m.group(1)[1:-1])
        pos += m.end()
        m2 = re.match(r'(,|\|)\s*', text[pos:])
        if m2 and m2.group(1) == ',' and re.match(r'\s*"', text[pos + m2.end():]):
            pos += m2.end()
            continue
        break
    return texts, text[pos:]


BLOCKS = [(0, 60), (100, 110), (200, 207), (300, 321), (400, 928), (1000, 1037), (1100, 1105),
          (1200, 1324), (1400, 1460), (1500, 1545), (1600, 1621), (1700, 1759), (1800, 1863),
          (1900, 1991), (2000, 2079), (2100, 2165), (2200, 2286), (2300, 2398), (2400, 2474),
          (2500, 2560), (2600, 2608), (2700, 2730)]
MAIN_WINDOW_LINES = (0, 0)  # set by main(): the main window's text table


# The section of the document that owns each block: an index is taken only from its owner.
OWNERS = {
    '1.101': [(0, 60)], '1.105': [(1100, 1102)], '1.106': [(100, 110), (200, 207)],
    '1.107': [(300, 321)], '1.110': [(400, 928)], '1.111': [(400, 928)],
    '1.125': [(1000, 1037)], '1.130': [(1103, 1104)], '1.160': [(1105, 1105)],
    '1.170': [(1105, 1105)], '2.102': [(1200, 1324)], '2.103': [(2700, 2730)],
    '2.104': [(1600, 1621)], '2.110': [(1400, 1460)], '2.111': [(1500, 1545)],
    '2.112': [(1700, 1759)], '2.113': [(1800, 1863)], '2.120': [(1900, 1991)],
    '2.121': [(2000, 2079)], '2.122': [(2100, 2165)], '2.130': [(2200, 2286)],
    '2.131': [(2300, 2398)], '2.132': [(2400, 2474)], '2.140': [(2500, 2560)],
    '2.141': [(2600, 2608)],
}
SECTION_OF_LINE = {}  # line number -> section number, set by build()


def in_blocks(i, lineno):
    if i < 100 and not (MAIN_WINDOW_LINES[0] <= lineno <= MAIN_WINDOW_LINES[1]):
        return False
    return any(a <= i <= b for a, b in OWNERS.get(SECTION_OF_LINE.get(lineno), []))


def assign(found, idxs, texts, lineno, sink):
    if not idxs or not texts:
        return
    if not all(in_blocks(i, lineno) for i in idxs):
        return
    if len(idxs) == len(texts):
        pairs = zip(idxs, texts)
    elif len(texts) == 1:
        pairs = ((i, texts[0]) for i in idxs)
    else:
        sink.append((lineno, idxs, texts))
        return
    for i, t in pairs:
        if 0 <= i < TABLE_SIZE and i not in embedded:
            found.setdefault(i, []).append((t, lineno))


embedded = set()  # indexes whose text holds quotes of its own (taken whole, never overwritten)


def scan(lines, first, last):
    found = {}
    unmatched = []
    for n in range(first, last):
        line = lines[n]
        lineno = n + 1
        # forward form: index group, optional table bar, then quoted texts
        for m in re.finditer(r'(?<![\w.$"])(' + IDX_GROUP + r')\s*(?:\|\s*|:\s*|\(\s*)?(?=")', line):
            idxs = expand(m.group(1))
            if idxs is None:
                continue
            texts, rest = quoted_list(line[m.end():])
            if re.match(r'\s*(?:…|\.\.)', rest):
                continue  # a series written with an ellipsis; taken by the series rules below
            assign(found, idxs, texts, lineno, unmatched)
        # table form: | index group | use | "text" |
        m = re.match(r'\|\s*(' + IDX_GROUP + r')\s*\|([^|"]*)\|\s*(".*)$', line)
        if m:
            idxs = expand(m.group(1))
            texts, _ = quoted_list(m.group(3))
            if idxs is not None:
                assign(found, idxs, texts, lineno, unmatched)
        # backward form: "a", "b" (1902-1907) or "a" (1908)
        for m in re.finditer(r'((?:' + QUOTED + r'\s*,\s*)*' + QUOTED + r')\s*\((' + IDX_GROUP + r')\)', line):
            idxs = expand(m.group(2))
            texts = [t[1:-1] for t in re.findall(QUOTED, m.group(1))]
            if idxs is not None:
                assign(found, idxs, texts, lineno, unmatched)
        # one-index table row whose text cell may hold quotes of its own:
        # | 2535 | read, length | "... variable "Analog Input" must be ..." |
        cells = [c.strip() for c in line.strip().strip('|').split('|')] if line.startswith('|') else []
        idx_pos = [k for k, c in enumerate(cells) if re.fullmatch(r'\d{3,4}', c)]
        if len(idx_pos) == 1:
            for c in cells[idx_pos[0] + 1:]:
                if not c.startswith('"') or c.count('"') <= 2:
                    continue
                body = c[1:c.rindex('"')]
                if all('"' not in item for item in body.split('", "')):
                    break  # a plain list of texts
                i = int(cells[idx_pos[0]])
                if in_blocks(i, lineno):
                    found[i] = [(body, lineno)]
                    embedded.add(i)
                break
        # table row with one text and the indexes in other cells: | "text" | 1 (2239) | 1 (2252) |
        if cells:
            quoted_cells = [c for c in cells if c.startswith('"') and c.endswith('"') and c.count('"') == 2]
            idx_cells = [re.fullmatch(r'\d+ \((\d{3,4})\)', c) for c in cells]
            if len(quoted_cells) == 1 and any(idx_cells) and all(
                    c in quoted_cells or c == '-' or m for c, m in zip(cells, idx_cells)):
                assign(found, [int(m.group(1)) for m in idx_cells if m], [quoted_cells[0][1:-1]],
                       lineno, unmatched)
        # numbered series: "Byte1" to "Byte8" [1714-1721] or [2120-2123 / 2129-2132]
        for m in re.finditer(r'"([^"\d]*)(\d+)"\s*to\s*"([^"\d]*)(\d+)"\s*\[([^\]]+)\]', line):
            pre, a, b = m.group(1), int(m.group(2)), int(m.group(4))
            texts = ['%s%d' % (pre, k) for k in range(a, b + 1)]
            for grp in m.group(5).split('/'):
                assign(found, expand(grp), texts, lineno, unmatched)
        # "byte 1" text followed by the other bytes: "... byte 1 of ..." [1735]; bytes 2 to 8 ... [1736-1742]
        for m in re.finditer(r'"([^"]*byte )1( [^"]*)"\s*\[(\d+)\][;,]\s*(?:likewise for |likewise |)bytes (\d) to (\d)[^\[]*\[([^\]]+)\]', line):
            ks = range(int(m.group(4)), int(m.group(5)) + 1)
            assign(found, expand(m.group(6)), ['%s%d%s' % (m.group(1), k, m.group(2)) for k in ks], lineno, unmatched)
        # ellipsis series: 1971-1978 + bound | "... Byte1 ..." … "... Byte8 ..."
        for m in re.finditer(r'(' + IDX_GROUP + r')[^"|]*(?:\|\s*)?"([^"]*?)(\d)([^"]*)"\s*(?:…|\.\.\.)\s*"([^"]*?)(\d)([^"]*)"', line):
            idxs = expand(m.group(1))
            if idxs and m.group(2) == m.group(5) and m.group(4) == m.group(7):
                a, b = int(m.group(3)), int(m.group(6))
                if b - a + 1 == len(idxs):
                    assign(found, idxs, ['%s%d%s' % (m.group(2), k, m.group(4)) for k in range(a, b + 1)],
                           lineno, unmatched)
        # word series: "Insert First byte of X" .. "Insert Fourth byte of X"
        for m in re.finditer(r'(' + IDX_GROUP + r')[^"]*?"([^"]*?)First([^"]*)"\s*\.\.\s*"([^"]*?)Fourth([^"]*)"', line):
            idxs = expand(m.group(1))
            if idxs and len(idxs) == 4 and m.group(2) == m.group(4) and m.group(3) == m.group(5):
                texts = [m.group(2) + w + m.group(3) for w in ('First', 'Second', 'Third', 'Fourth')]
                for i, t in zip(idxs, texts):
                    if in_blocks(i, lineno):
                        found[i] = [(t, lineno)]
        # "Text 1439 ("...") belongs to the block"
        for m in re.finditer(r'(\d{3,4})\s*\((' + QUOTED + r')\)', line):
            assign(found, [int(m.group(1))], [m.group(2)[1:-1]], lineno, unmatched)
        # bracket form: "text" [1415] and "text" [2516 / 2524]
        for m in re.finditer(r'(' + QUOTED + r')\s*\[(\d{3,4}(?:\s*/\s*\d{3,4})*)\]', line):
            assign(found, [int(v) for v in re.findall(r'\d+', m.group(2))], [m.group(1)[1:-1]], lineno,
                   unmatched)
    return found, unmatched


# Entries whose text the document gives by reference to another entry ("same text", "as 408 to 411").
COPIES = {}
for _d, _s in ((range(792, 796), range(408, 412)), (range(797, 801), range(413, 417)),
               (range(803, 807), range(419, 423)), (range(2524, 2532), range(2516, 2524)),
               ([2201], [2200]), ([2301], [2300])):
    COPIES.update(zip(_d, _s))

# Entries written out by hand: rows whose texts the document abbreviates or joins with a number.
OVERRIDES = {i: 'Step %d' % i for i in range(1, 9)}
OVERRIDES.update({
    1749: '!! Byte1 must be between 0 and ', 1751: '!! Byte2 must be between 0 and ',
    1750: ' or None', 1852: '!! Byte1 must be between 0 and ', 1853: ' or None',
    # The S7comm access dialog's delete question has no index of its own in the document; it
    # takes the first free index after its block's last text.
    1325: 'Are you sure to delete the Row number ',
    # The OPC UA side's DNS octets are checked like the other addresses; their messages take the
    # first free indexes of the parameters dialog's block.
    929: 'Error OPC UA Server!! DNS IP 1 must be between 0 and 255',
    930: 'Error OPC UA Server!! DNS IP 2 must be between 0 and 255',
    931: 'Error OPC UA Server!! DNS IP 3 must be between 0 and 255',
    932: 'Error OPC UA Server!! DNS IP 4 must be between 0 and 255',
})


def build(lines):
    global MAIN_WINDOW_LINES
    heading = re.compile(r'# \w+ (\d\.\d+):')
    # the window sections run from the first numbered section of subsystem 1 to the next
    # unnumbered top-level heading
    first = next(i for i, l in enumerate(lines) if (m := heading.match(l)) and m.group(1).startswith('1.'))
    last = next(i for i in range(first, len(lines)) if lines[i].startswith('# ') and not heading.match(lines[i]))
    t = next(i for i in range(first, last) if lines[i].startswith('| index | built-in text |'))
    e = next(i for i in range(t, last) if not lines[i].startswith('|'))
    MAIN_WINDOW_LINES = (t + 1, e)
    part = None
    for n, l in enumerate(lines):
        m = heading.match(l)
        if m:
            part = m.group(1)
        SECTION_OF_LINE[n + 1] = part
    found, unmatched = scan(lines, first, last)
    table = [FILLER] * TABLE_SIZE
    problems = []
    for i, vals in found.items():
        texts = sorted(set(t for t, _ in vals))
        if i in OVERRIDES:
            continue
        if len(texts) > 1:
            problems.append('index %d has several texts: %r' % (i, texts))
            continue
        table[i] = texts[0]
    for i, t in OVERRIDES.items():
        table[i] = t
    for d, s in COPIES.items():
        table[d] = table[s]
    return table, problems


def cpp_string(text):
    out = []
    for ch in text.encode('utf-8'):
        if ch == 0x22 or ch == 0x5C:
            out.append('\\' + chr(ch))
        elif 0x20 <= ch < 0x7F:
            out.append(chr(ch))
        else:
            out.append('\\x%02X""' % ch)
    return '"' + ''.join(out) + '"'


def write_cpp(table, path):
    with open(path, 'w', encoding='utf-8') as f:
        f.write('// The built-in English texts of the language table, one per index; " " where no\n')
        f.write('// window reads a text. Generated once by scripts/extract_lang.py; edit with care: the\n')
        f.write('// index of every text is part of the language file format.\n')
        f.write('#include "core/ULanguage.h"\n\n')
        f.write('const char* const Default_Lang_Texts[Lang_Table_Entries] = {\n')
        for i, t in enumerate(table):
            f.write('    /* %4d */ %s,\n' % (i, cpp_string(t)))
        f.write('};\n')


def main():
    lines = open(sys.argv[1], encoding='utf-8').read().split('\n')
    table, problems = build(lines)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        sys.exit(1)
    write_cpp(table, sys.argv[2])
    texts = sum(1 for t in table if t != FILLER)
    print('%d texts, %d fillers' % (texts, TABLE_SIZE - texts))


if __name__ == '__main__':
    main()
