"""What `gpasm -p<part> -s` reports about a part: sizes, ID, configuration and EEPROM addresses,
and every configuration directive with its options."""

import re
import subprocess
from dataclasses import dataclass, field


@dataclass
class Directive:
    name: str
    options: list  # (option name, value), in the order gpasm lists them

    @property
    def mask(self):
        # gpasm gives no per-directive mask; the options' values together cover it because one
        # option of every directive (the erased state) has all of the directive's bits set.
        m = 0
        for _, v in self.options:
            m |= v
        return m


@dataclass
class ConfigCell:
    address: int
    mask: int
    default: int
    directives: list = field(default_factory=list)


@dataclass
class PartInfo:
    name: str
    core: str  # PIC12, PIC14, PIC16E
    program_words: int
    idlocs: tuple
    config_cells: list
    eeprom: tuple  # (first, last) or None


class UnknownPart(Exception):
    pass


_NUM = r"(0x[0-9A-Fa-f]+)"


def parse(part, text):
    names = re.findall(r"^Names\s*:\s*(.*)$", text, re.M)
    wanted = "pic" + part.lower()
    if len(names) != 1 or wanted not in [n.strip() for n in names[0].split(",")]:
        raise UnknownPart(part)
    core = re.search(r"^Class\s*:\s*(\S+)", text, re.M).group(1)
    m = re.search(r"^Program Size\s*:\s*(\d+)\s+(words|bytes)", text, re.M)
    size = int(m.group(1))
    words = size // 2 if m.group(2) == "bytes" else size
    m = re.search(r"^Idlocs Range\s*:\s*" + _NUM + r"\s*-\s*" + _NUM, text, re.M)
    idlocs = (int(m.group(1), 16), int(m.group(2), 16)) if m else None
    m = re.search(r"^EEPROM Range\s*:\s*" + _NUM + r"\s*-\s*" + _NUM, text, re.M)
    eeprom = (int(m.group(1), 16), int(m.group(2), 16)) if m else None
    cells = []
    for line in text.splitlines():
        m = re.match(r"^\s*Config Word\s*:\s*address = " + _NUM + r", mask = " + _NUM +
                     r", default = " + _NUM, line)
        if m:
            cells.append(ConfigCell(int(m.group(1), 16), int(m.group(2), 16), int(m.group(3), 16)))
            continue
        m = re.match(r"^\s*Directive:\s*(\S+)", line)
        if m:
            cells[-1].directives.append(Directive(m.group(1), []))
            continue
        m = re.match(r"^\s*Option:\s*(\S+)\s*=\s*" + _NUM, line)
        if m:
            cells[-1].directives[-1].options.append((m.group(1), int(m.group(2), 16)))
    return PartInfo(part, core, words, idlocs, cells, eeprom)


def query(part):
    out = subprocess.run(["gpasm", "-p" + part, "-s"], capture_output=True, text=True, check=True)
    return parse(part, out.stdout)
