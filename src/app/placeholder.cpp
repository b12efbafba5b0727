namespace horlan {}
