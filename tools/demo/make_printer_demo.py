#!/usr/bin/env python3
"""Writes the demo printer's memory (simulator/demo/memoria.txt) and the demo store's
customers for its coupons (tools/demo/coupons.txt), both from one seeded description of
November 2026, so the two always agree on serial number, dates and COOs.

coupons.txt is UTF-8, one line per coupon that has a customer:
    serial;dd/mm/yyyy;COO;ClienteCPF;ClienteNome
Coupons without a customer are left out. Run from anywhere; it rewrites both files.
"""
import datetime
import pathlib
import random

ROOT = pathlib.Path(__file__).resolve().parents[2]
SERIAL = "BE091010100011223344"
FIRST_COO = 1001
FIRST_CCF = 501
CANCELLED_COOS = {1047, 1318, 1502}

PRODUCTS = [  # code, description, unit, price, totalizer, quantity kind
    ("7891000100103", "PAO FRANCES", "KG", "12.90", "F1", "weight"),
    ("7891000315507", "LEITE INTEGRAL 1L", "UN", "4.99", "T1800", "count"),
    ("7891910000197", "CAFE TORRADO 500G", "UN", "15.90", "T1800", "count"),
    ("7896004000015", "MANTEIGA 200G", "UN", "9.45", "T1800", "count"),
    ("2000100", "QUEIJO MINAS", "KG", "39.899", "T1800", "weight"),
    ("2000200", "PRESUNTO FATIADO", "KG", "32.50", "T1800", "weight"),
    ("7894900011517", "REFRIGERANTE 2L", "UN", "8.49", "T1800", "count"),
    ("7896045104567", "AGUA MINERAL 500ML", "UN", "1.99", "I1", "count"),
    ("2000300", "BOLO DE FUBA", "UN", "12.00", "F1", "count"),
    ("2000400", "SONHO", "UN", "4.50", "F1", "count"),
    ("7891008121018", "ACUCAR REFINADO 1KG", "UN", "4.79", "T0700", "count"),
    ("2000500", "SACOLA", "UN", "0.10", "N1", "count"),
]
MEANS = ["Dinheiro", "Dinheiro", "Cartao Debito", "Cartao Credito", "PIX"]

# Customers of the store's coupon table: valid and invalid documents, grouped and plain,
# empty and accented names. Each coupon with a customer takes the next one in turn.
CUSTOMERS = [
    ("529.982.247-25", "Maria da Conceição"),
    ("52998224725", "José Antônio Lima"),
    ("11.222.333/0001-81", "Padaria São João Ltda"),
    ("11222333000181", "Mercearia Irmãos Ávila"),
    ("123.456.789-00", "Cliente Com CPF Inválido"),
    ("11.222.333/0001-82", "Empresa Com CNPJ Inválido"),
    ("111.111.111-11", "Dígitos Repetidos"),
    ("390.533.447-05", ""),
    ("", "Sem Documento"),
    ("12345", "Número Curto"),
    ("  168.995.350-09 ", "  João Gonçalves  "),
    ("45.723.174/0001-10", "Açougue Bom Preço"),
]


def money(cents):
    return f"{cents // 100}.{cents % 100:02d}"


def item_total(quantity, price):
    """Quantity and price as decimal texts; the price times the quantity, truncated to cents."""
    q_places = len(quantity.split(".")[1]) if "." in quantity else 0
    p_places = len(price.split(".")[1])
    product = int(quantity.replace(".", "")) * int(price.replace(".", ""))
    return product // 10 ** (q_places + p_places - 2)


def coupon_lines(rng, coo, ccf, day, seconds):
    time = (datetime.datetime.combine(day, datetime.time(7, 0)) +
            datetime.timedelta(seconds=seconds)).strftime("%H:%M:%S")
    cancelled = coo in CANCELLED_COOS
    lines = [f"cupom;{coo:06d};{ccf:06d};{day:%d/%m/%Y};{time}" + (";cancelado" if cancelled else "")]
    subtotal = 0
    for product in rng.sample(PRODUCTS, rng.randint(1, 4)):
        code, description, unit, price, totalizer, kind = product
        quantity = f"0.{rng.randint(150, 950):03d}" if kind == "weight" else str(rng.randint(1, 3))
        total = item_total(quantity, price)
        cancelled_item = rng.random() < 0.03 and subtotal > 0
        lines.append(f"item;{code};{description};{quantity};{unit};{price};0.00;0.00;{totalizer}" +
                     (";cancelado" if cancelled_item else ""))
        if not cancelled_item:
            subtotal += total
    net = subtotal
    if rng.random() < 0.1:
        discount = subtotal // 20
        lines.append(f"desconto;V;{money(discount)}")
        net -= discount
    means = rng.choice(MEANS)
    paid = ((net + 999) // 1000) * 1000 if means == "Dinheiro" else net
    lines.append(f"pagamento;{means};{money(paid)}")
    return lines


def main():
    rng = random.Random(2026_11)
    memory = [
        "# Demo memory of the simulated printer: November 2026 at the demo store.",
        "# Written by tools/demo/make_printer_demo.py; edit that script, not this file.",
        f"serie={SERIAL}",
        "marca=SIMULADO",
        "modelo=MP-4000 TH FI",
        "versao_sb=01.00.02",
        "instalacao_sb=01/10/2009 10:00:00",
        "numero_ecf=1",
        "cnpj=45723174000110",
        "ie=111222333444",
        "usuario=1",
        "registro_usuario=05/10/2009 09:30:00",
        "cro=1",
        "gt=0",
        "crz=401",
        "",
    ]
    coupons = []
    coo, ccf, customer = FIRST_COO, FIRST_CCF, 0
    for number in range(1, 31):
        day = datetime.date(2026, 11, number)
        seconds = 0
        for _ in range(rng.randint(18, 22)):
            seconds += rng.randint(300, 1800)
            memory += coupon_lines(rng, coo, ccf, day, seconds) + [""]
            if rng.random() < 0.6:
                document, name = CUSTOMERS[customer % len(CUSTOMERS)]
                customer += 1
                coupons.append(f"{SERIAL};{day:%d/%m/%Y};{coo:06d};{document};{name}")
            coo += 1
            ccf += 1
    (ROOT / "simulator/demo/memoria.txt").write_bytes(("\r\n".join(memory) + "\r\n").encode("ascii"))
    (ROOT / "tools/demo/coupons.txt").write_text("\n".join(coupons) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
