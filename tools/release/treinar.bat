@echo off
rem Treinamento: a impressora simulada com a memoria de demonstracao e as
rem tabelas da loja de demonstracao, tudo da pasta deste arquivo.
cd /d "%~dp0"
set "KALORA_SIM_MEMORIA=%~dp0memoria.txt"
set "KALORA_ALIAS_Kalora=%~dp0Dados"
set "KALORA_ALIAS_KaloraLocal=%~dp0Dados"
start "" "%~dp0KaloraNFP.exe"
